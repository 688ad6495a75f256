#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
# Writes the editor's sample files: each name says the code page, the line ends and
# what is special about the content. Run it from this folder; the output is committed.
import pathlib

ASCII = "The quick brown fox jumps over the lazy dog 0123456789 !\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}~"
LETTERS = "АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ абвгдеёжзийклмнопрстуфхцчшщъыьэюя"
PROSE = ("Съешь же ещё этих мягких французских булок, да выпей чаю. "
         "В чащах юга жил бы цитрус? Да, но фальшивый экземпляр! "
         "Широкая электрификация южных губерний даст мощный толчок подъёму сельского хозяйства.")
TEXT = "\r\n".join([PROSE, ASCII, LETTERS, PROSE]) + "\r\n"

FRAMES = "\r\n".join([
    "Отчёт о работе за месяц",
    "╔══════════╦═══════╗",
    "║ Название ║ Число ║",
    "╠══════════╬═══════╣",
    "║ Яблоки   ║    12 ║",
    "╚══════════╩═══════╝",
    PROSE,
]) + "\r\n"

here = pathlib.Path(__file__).parent
samples = {
    "letters_cp866_crlf.txt": TEXT.encode("cp866"),
    "letters_cp1251_crlf.txt": TEXT.encode("cp1251"),
    "letters_koi8r_crlf.txt": TEXT.encode("koi8_r"),
    "letters_maccyrillic_crlf.txt": TEXT.encode("mac_cyrillic"),
    "letters_iso8859-5_crlf.txt": TEXT.encode("iso8859_5"),
    "letters_utf16le_crlf.txt": TEXT.encode("utf-16-le"),
    "letters_utf16be_crlf.txt": TEXT.encode("utf-16-be"),
    "letters_utf16le_bom_crlf.txt": b"\xff\xfe" + TEXT.encode("utf-16-le"),
    "letters_utf16le_odd_length.txt": TEXT.encode("utf-16-le") + b"\x41",
    "frames_cp866_crlf.txt": FRAMES.encode("cp866"),
    "not_rtf_cp1251.rtf": ("{не RTF} " + PROSE + "\r\n").encode("cp1251"),
    "binary_all_bytes.bin": bytes(range(256)) * 4,
    "formatted_cp1251.rtf": (
        "{\\rtf1\\ansi\\ansicpg1251\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset204 Arial;}}\r\n"
        "{\\colortbl ;\\red255\\green0\\blue0;}\r\n"
        "\\pard\\f0\\fs24 \\b Жирный\\b0  и \\i курсив\\i0  и \\cf1 красный\\cf0  и \\ulwave волна\\ulnone .\\par\r\n"
        "\\pard\\qc По центру\\par\r\n}").encode("cp1251"),
}
for name, data in samples.items():
    (here / name).write_bytes(data)
