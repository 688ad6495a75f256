<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru" sourcelanguage="en">
<context>
    <name>QlConsts</name>
    <message>
        <source>Quillet</source>
        <translation>Quillet</translation>
    </message>
    <message>
        <source> - Quillet</source>
        <translation> - Quillet</translation>
    </message>
    <message>
        <source>File </source>
        <translation>Файл </translation>
    </message>
    <message>
        <source>Text input</source>
        <translation>Текст без имени</translation>
    </message>
    <message>
        <source>Wait... text loading</source>
        <translation>Подождите... загрузка текста</translation>
    </message>
    <message>
        <source>Wait... text saving</source>
        <translation>Подождите... сохранение текста</translation>
    </message>
    <message>
        <source>Wait... text wrapping</source>
        <translation>Подождите... перенос строк</translation>
    </message>
    <message>
        <source>Wait... text converting</source>
        <translation>Подождите... перекодировка текста</translation>
    </message>
    <message>
        <source>Wait... preparing</source>
        <translation>Подождите... подготовка</translation>
    </message>
    <message>
        <source>Wait... pages preparing</source>
        <translation>Подождите... подготовка страниц</translation>
    </message>
    <message>
        <source>Wait... pages printing</source>
        <translation>Подождите... печать страниц</translation>
    </message>
    <message>
        <source>Wait... completion</source>
        <translation>Подождите... завершение</translation>
    </message>
    <message>
        <source>: </source>
        <translation>: </translation>
    </message>
    <message>
        <source>Print preview </source>
        <translation>Предварительный просмотр </translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Ошибка</translation>
    </message>
    <message>
        <source>Information</source>
        <translation>Информация</translation>
    </message>
    <message>
        <source>Confirm</source>
        <translation>Подтверждение</translation>
    </message>
    <message>
        <source>All</source>
        <translation>Все</translation>
    </message>
    <message>
        <source>Can not find the file: </source>
        <translation>Не удаётся найти файл: </translation>
    </message>
    <message>
        <source>The text was changed. Do you want save it?</source>
        <translation>Текст был изменён. Сохранить его?</translation>
    </message>
    <message>
        <source> is already exists. Rewrite it?</source>
        <translation> уже существует. Заменить его?</translation>
    </message>
    <message>
        <source>RTF text export is not allowed</source>
        <translation>Текст RTF экспортировать нельзя</translation>
    </message>
    <message>
        <source>File export was not successfull</source>
        <translation>Не удалось экспортировать файл</translation>
    </message>
    <message>
        <source>Can not use the file name: it holds characters the dialog can not show, so it is not known which file is meant: </source>
        <translation>Нельзя использовать это имя файла: в нём есть символы, которые диалог не может показать, поэтому неясно, какой файл имеется в виду: </translation>
    </message>
    <message>
        <source>All files (*.*)|*.*|Text file (*.txt)|*.txt|Text file in RTF format (*.rtf)|*.rtf</source>
        <translation>Все файлы (*.*)|*.*|Текстовые файлы (*.txt)|*.txt|Текст в формате RTF (*.rtf)|*.rtf</translation>
    </message>
    <message>
        <source>Text loading problems from memory </source>
        <translation>Ошибка загрузки текста из памяти </translation>
    </message>
    <message>
        <source>Text saving error to memory </source>
        <translation>Ошибка сохранения текста в память </translation>
    </message>
    <message>
        <source>Can not open file for writing</source>
        <translation>Не удаётся открыть файл для записи</translation>
    </message>
    <message>
        <source>File writting error</source>
        <translation>Ошибка записи файла</translation>
    </message>
    <message>
        <source>Cannot open file &quot;%1&quot;. %2</source>
        <translation>Не удаётся открыть файл «%1». %2</translation>
    </message>
    <message>
        <source>Cannot open &quot;%1&quot;: it is not a regular file</source>
        <translation>Не удаётся открыть «%1»: это не обычный файл</translation>
    </message>
    <message>
        <source>The file &quot;%1&quot; is too large to load (%2 characters; the editor holds at most %3)</source>
        <translation>Файл «%1» слишком велик (символов: %2, а редактор вмещает не более %3)</translation>
    </message>
    <message>
        <source>Error reading file &quot;%1&quot;. %2</source>
        <translation>Ошибка чтения файла «%1». %2</translation>
    </message>
    <message>
        <source>The file &quot;%1&quot; changed while it was being read</source>
        <translation>Файл «%1» изменился во время чтения</translation>
    </message>
    <message>
        <source>Tables structure will be lost by code conversion.<byte value="xd"/>
It is recommended to save the text in RTF format before.</source>
        <translation>При перекодировке структура таблиц будет потеряна.<byte value="xd"/>
Рекомендуется сначала сохранить текст в формате RTF.</translation>
    </message>
    <message>
        <source>Embedded objects and pictures will be lost by saving as plain text.<byte value="xd"/>
It is recommended to save the text in RTF format.</source>
        <translation>При сохранении простым текстом внедрённые объекты и рисунки будут потеряны.<byte value="xd"/>
Рекомендуется сохранить текст в формате RTF.</translation>
    </message>
    <message>
        <source>Toggle on lines wrapping</source>
        <translation>Включить перенос строк</translation>
    </message>
    <message>
        <source>Toggle off lines wrapping</source>
        <translation>Выключить перенос строк</translation>
    </message>
    <message>
        <source>Substring is not found: </source>
        <translation>Строка не найдена: </translation>
    </message>
    <message>
        <source> replacements:  </source>
        <translation> замен(ы):  </translation>
    </message>
    <message>
        <source> ---&gt; </source>
        <translation> ---&gt; </translation>
    </message>
    <message>
        <source>Here is already the saved screen. Do you want replace it?</source>
        <translation>Здесь уже сохранён экран. Заменить его?</translation>
    </message>
    <message>
        <source>Language interface will be changed at the following loading of the program</source>
        <translation>Язык интерфейса сменится при следующем запуске программы</translation>
    </message>
    <message>
        <source>INS</source>
        <translation>ВСТ</translation>
    </message>
    <message>
        <source>OVR</source>
        <translation>ЗАМ</translation>
    </message>
    <message>
        <source>[line number, position in line, length of line]</source>
        <translation>[номер строки, позиция в строке, длина строки]</translation>
    </message>
    <message>
        <source>All lines count</source>
        <translation>Всего строк</translation>
    </message>
    <message>
        <source>Overwrite mode</source>
        <translation>Режим замены</translation>
    </message>
    <message>
        <source>Insert mode</source>
        <translation>Режим вставки</translation>
    </message>
    <message>
        <source>%s Properties</source>
        <translation>Свойства: %s</translation>
    </message>
    <message>
        <source>Link Properties</source>
        <translation>Свойства связи</translation>
    </message>
    <message>
        <source>Cannot link to an invalid source.</source>
        <translation>Нельзя связать с недопустимым источником.</translation>
    </message>
    <message>
        <source>Break link operation is not supported.</source>
        <translation>Разрыв связи не поддерживается.</translation>
    </message>
    <message>
        <source>Unable to change parameters while printing</source>
        <translation>Во время печати параметры менять нельзя</translation>
    </message>
    <message>
        <source>Not be able to begin the printing</source>
        <translation>Не удаётся начать печать</translation>
    </message>
    <message>
        <source>Not be able to save the page in MetaFile</source>
        <translation>Не удаётся сохранить страницу в метафайл</translation>
    </message>
    <message>
        <source>Not be able to print of prepared page</source>
        <translation>Не удаётся напечатать подготовленную страницу</translation>
    </message>
    <message>
        <source>Not be able to end the printing</source>
        <translation>Не удаётся завершить печать</translation>
    </message>
    <message>
        <source>None of installed printer</source>
        <translation>Не установлено ни одного принтера</translation>
    </message>
    <message>
        <source>Print to PDF file</source>
        <translation>Печать в файл PDF</translation>
    </message>
    <message>
        <source>PDF file|*.pdf</source>
        <translation>Файл PDF|*.pdf</translation>
    </message>
    <message>
        <source>Can not write the file &quot;%1&quot;. %2</source>
        <translation>Не удаётся записать файл «%1». %2</translation>
    </message>
    <message>
        <source>The margins leave no room for the text on the page</source>
        <translation>При таких полях на странице не остаётся места для текста</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not a valid floating point value</source>
        <translation>«%1» — недопустимое дробное число</translation>
    </message>
    <message>
        <source>Are you really will remove all Quillet data from registry?</source>
        <translation>Вы действительно хотите удалить из реестра все данные Quillet?</translation>
    </message>
    <message>
        <source>Options were saved in the registry</source>
        <translation>Параметры сохранены в реестре</translation>
    </message>
    <message>
        <source>Keep a recovery journal of unsaved text</source>
        <translation>Вести журнал восстановления несохранённого текста</translation>
    </message>
    <message>
        <source>Unsaved text is kept and offered again after a crash or a power cut</source>
        <translation>Несохранённый текст сохраняется и предлагается снова после сбоя или отключения питания</translation>
    </message>
    <message>
        <source>Pause in typing after which unsaved text is written to the journal</source>
        <translation>Пауза в наборе, после которой несохранённый текст записывается в журнал</translation>
    </message>
    <message>
        <source> s</source>
        <translation> с</translation>
    </message>
    <message>
        <source>Remove extension </source>
        <translation>Удалить расширение </translation>
    </message>
    <message>
        <source> ?</source>
        <translation>?</translation>
    </message>
    <message>
        <source>Extension input</source>
        <translation>Ввод расширения</translation>
    </message>
    <message>
        <source>Enter a new extension</source>
        <translation>Введите новое расширение</translation>
    </message>
    <message>
        <source>Command line in registry</source>
        <translation>Командная строка в реестре</translation>
    </message>
    <message>
        <source> for files *.</source>
        <translation> для файлов *.</translation>
    </message>
    <message>
        <source>Load with Quillet</source>
        <translation>Открыть в Quillet</translation>
    </message>
    <message>
        <source>Check types of files, that<byte value="xd"/>
will be associated to this program</source>
        <translation>Отметьте типы файлов, которые<byte value="xd"/>
будут открываться этой программой</translation>
    </message>
    <message>
        <source>The settings could not be read, the defaults are used. The file was left as it is: </source>
        <translation>Не удалось прочитать настройки, используются значения по умолчанию. Файл оставлен как есть: </translation>
    </message>
    <message>
        <source>Invalid data type of the registry value: </source>
        <translation>Недопустимый тип данных параметра реестра: </translation>
    </message>
    <message>
        <source>The registry value does not exist: </source>
        <translation>Параметр реестра не существует: </translation>
    </message>
    <message>
        <source>Can not open the registry key: </source>
        <translation>Не удаётся открыть раздел реестра: </translation>
    </message>
    <message>
        <source>Can not write to the registry: </source>
        <translation>Не удаётся записать в реестр: </translation>
    </message>
    <message>
        <source>Can not read the registry: </source>
        <translation>Не удаётся прочитать реестр: </translation>
    </message>
    <message>
        <source>Can not open the registry file: </source>
        <translation>Не удаётся открыть файл реестра: </translation>
    </message>
    <message>
        <source>The registry file is damaged or is not a registry: </source>
        <translation>Файл реестра повреждён или не является реестром: </translation>
    </message>
    <message>
        <source>Information about version %1 in your PC.</source>
        <translation>Сведения о версии %1 на вашем компьютере.</translation>
    </message>
    <message>
        <source>I recommend the version %1 or above</source>
        <translation>Рекомендуется версия %1 или выше</translation>
    </message>
    <message>
        <source>Library %1 is not loaded</source>
        <translation>Библиотека %1 не загружена</translation>
    </message>
    <message>
        <source>About &quot;Quillet&quot;</source>
        <translation>О программе «Quillet»</translation>
    </message>
    <message>
        <source>Program:  Quillet</source>
        <translation>Программа:  Quillet</translation>
    </message>
    <message>
        <source>Version :</source>
        <translation>Версия:</translation>
    </message>
    <message>
        <source>Free software under the GNU General Public License, version 3 or later, without any warranty.</source>
        <translation>Свободная программа по лицензии GNU GPL версии 3 или более поздней, без гарантий.</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>ОК</translation>
    </message>
    <message>
        <source>, Size: </source>
        <translation>, размер: </translation>
    </message>
    <message>
        <source> bytes, Date: </source>
        <translation> байт, дата: </translation>
    </message>
    <message>
        <source>, Time: </source>
        <translation>, время: </translation>
    </message>
    <message>
        <source>Quillet help</source>
        <translation>Справка Quillet</translation>
    </message>
    <message>
        <source>Text file (MS-DOS)|*.*|Text file (Windows)|*.*|Text file (KOI-8R)|*.*|Text file (Macintosh)|*.*|Text file (ISO 8859-5)|*.*|Text file (Unicode)|*.*|Text in RTF format|*.rtf|Text file (UTF-8)|*.*</source>
        <translation>Текстовый файл (MS-DOS)|*.*|Текстовый файл (Windows)|*.*|Текстовый файл (KOI-8R)|*.*|Текстовый файл (Macintosh)|*.*|Текстовый файл (ISO 8859-5)|*.*|Текстовый файл (Unicode)|*.*|Текст в формате RTF|*.rtf|Текстовый файл (UTF-8)|*.*</translation>
    </message>
    <message>
        <source>The file &quot;%1&quot; holds bytes that are not UTF-8, shown as &quot;�&quot; (%2 in all).<byte value="xd"/>
Saving over the file would replace them.</source>
        <translation>В файле «%1» есть байты, не являющиеся UTF-8; они показаны как «�» (всего: %2).</translation>
    </message>
    <message>
        <source>The file &quot;%1&quot; holds bytes that are not UTF-8, shown as &quot;�&quot;.<byte value="xd"/>
Saving over it replaces them for good. Save it all the same?</source>
        <translation>В файле «%1» есть байты, не являющиеся UTF-8; они показаны как «�».</translation>
    </message>
    <message>
        <source>This extension can not be used: </source>
        <translation>Это расширение использовать нельзя: </translation>
    </message>
    <message>
        <source>Can not change the file types and menus of the desktop, nothing was saved.
%1: %2</source>
        <translation>Не удалось изменить типы файлов и меню рабочего стола, ничего не сохранено.
%1: %2</translation>
    </message>
    <message>
        <source>Objects can not be inserted or pasted: &quot;OLE objects support&quot; is switched off in the settings.</source>
        <translation>Объекты нельзя вставлять: в настройках выключена «Поддержка OLE-объектов».</translation>
    </message>
    <message>
        <source>The clipboard holds nothing that can be pasted as an object.</source>
        <translation>В буфере обмена нет ничего, что можно вставить как объект.</translation>
    </message>
    <message>
        <source>Can not read the file: </source>
        <translation>Не удаётся прочитать файл: </translation>
    </message>
    <message>
        <source>There is no program to open objects of this type: %1</source>
        <translation>Нет программы, которая открывает объекты этого типа: %1</translation>
    </message>
    <message>
        <source>The object can not be opened: %1</source>
        <translation>Не удаётся открыть объект: %1</translation>
    </message>
    <message>
        <source>The object is a program, and programs in documents are never started: %1</source>
        <translation>Объект является программой, а программы из документов никогда не запускаются: %1</translation>
    </message>
    <message>
        <source>&amp;Open</source>
        <translation>&amp;Открыть</translation>
    </message>
    <message>
        <source>Picture (PNG)</source>
        <translation>Рисунок (PNG)</translation>
    </message>
    <message>
        <source>Text document</source>
        <translation>Текстовый документ</translation>
    </message>
    <message>
        <source>Picture.png</source>
        <translation>Рисунок.png</translation>
    </message>
    <message>
        <source>Text.txt</source>
        <translation>Текст.txt</translation>
    </message>
    <message>
        <source>%1 bytes</source>
        <translation>%1 байт</translation>
    </message>
    <message>
        <source>Unknown</source>
        <translation>Неизвестно</translation>
    </message>
    <message>
        <source>Embedded in %1</source>
        <translation>Внедрён в %1</translation>
    </message>
    <message>
        <source>untitled</source>
        <translation>без имени</translation>
    </message>
    <message>
        <source> (changed on disk)</source>
        <translation> (изменён на диске)</translation>
    </message>
    <message>
        <source>The file %1 changed on disk after the text was kept.

Open the recovered text as a new untitled text (Yes), or under the file&apos;s name (No)?</source>
        <translation>Файл %1 изменился на диске после сохранения текста.

Открыть восстановленный текст как новый, без имени (Да), или под именем файла (Нет)?</translation>
    </message>
    <message>
        <source>A recovery journal cannot be used and is left as it is:
</source>
        <translation>Журнал восстановления нельзя использовать, он оставлен как есть:
</translation>
    </message>
    <message>
        <source>The file %1 was changed on disk by another program.

Reload it (Yes; the text shown is kept for recovery), or keep the text shown (No)?</source>
        <translation>Файл %1 был изменён на диске другой программой.

Загрузить его заново (Да; показанный текст сохраняется для восстановления) или оставить показанный текст (Нет)?</translation>
    </message>
    <message>
        <source>The file %1 was deleted or moved away on disk. The text shown is kept.</source>
        <translation>Файл %1 был удалён или перемещён на диске. Показанный текст остаётся.</translation>
    </message>
    <message>
        <source>The file %1 was changed on disk since it was loaded or saved here.

Save over it all the same?</source>
        <translation>Файл %1 изменился на диске после того, как был загружен или сохранён здесь.

Всё равно записать поверх него?</translation>
    </message>
    <message>
        <source>The file %1 no longer exists on disk.

Save it again under this name?</source>
        <translation>Файла %1 больше нет на диске.

Сохранить его снова под этим именем?</translation>
    </message>
    <message>
        <source>Recover Unsaved Texts</source>
        <translation>Восстановление несохранённых текстов</translation>
    </message>
    <message>
        <source>These texts were not saved when their windows ended. Recover the selected one, discard it, or decide later:</source>
        <translation>Эти тексты не были сохранены, когда их окна закрылись. Восстановите выбранный, удалите его или решите позже:</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Файл</translation>
    </message>
    <message>
        <source>Kept</source>
        <translation>Время</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Размер</translation>
    </message>
    <message>
        <source>%1 characters</source>
        <translation>Символов: %1</translation>
    </message>
    <message>
        <source>&amp;Recover</source>
        <translation>&amp;Восстановить</translation>
    </message>
    <message>
        <source>&amp;Discard</source>
        <translation>&amp;Удалить</translation>
    </message>
    <message>
        <source>&amp;Later</source>
        <translation>&amp;Позже</translation>
    </message>
</context>
<context>
    <name>TFindDialog</name>
    <message>
        <source>Replace</source>
        <translation>Замена</translation>
    </message>
    <message>
        <source>Find</source>
        <translation>Поиск</translation>
    </message>
    <message>
        <source>Fi&amp;nd what:</source>
        <translation>&amp;Найти:</translation>
    </message>
    <message>
        <source>Re&amp;place with:</source>
        <translation>&amp;Заменить на:</translation>
    </message>
    <message>
        <source>Match &amp;whole word only</source>
        <translation>&amp;Только слово целиком</translation>
    </message>
    <message>
        <source>Match &amp;case</source>
        <translation>&amp;Учитывать регистр</translation>
    </message>
    <message>
        <source>&amp;Up</source>
        <translation>&amp;Вверх</translation>
    </message>
    <message>
        <source>&amp;Down</source>
        <translation>Вн&amp;из</translation>
    </message>
    <message>
        <source>Direction</source>
        <translation>Направление</translation>
    </message>
    <message>
        <source>&amp;Find Next</source>
        <translation>Найти &amp;далее</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Отмена</translation>
    </message>
    <message>
        <source>&amp;Replace</source>
        <translation>За&amp;менить</translation>
    </message>
    <message>
        <source>Replace &amp;All</source>
        <translation>Заменить &amp;все</translation>
    </message>
</context>
<context>
    <name>TInsertObjectDialog</name>
    <message>
        <source>Insert Object</source>
        <translation>Вставка объекта</translation>
    </message>
    <message>
        <source>Create &amp;New</source>
        <translation>Создать &amp;новый</translation>
    </message>
    <message>
        <source>Create from &amp;File</source>
        <translation>Создать из &amp;файла</translation>
    </message>
    <message>
        <source>Object &amp;Type:</source>
        <translation>&amp;Тип объекта:</translation>
    </message>
    <message>
        <source>&amp;Browse...</source>
        <translation>&amp;Обзор...</translation>
    </message>
    <message>
        <source>&amp;Link</source>
        <translation>&amp;Связь</translation>
    </message>
    <message>
        <source>Fil&amp;e:</source>
        <translation>Фа&amp;йл:</translation>
    </message>
    <message>
        <source>&amp;Display As Icon</source>
        <translation>В &amp;виде значка</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>ОК</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Отмена</translation>
    </message>
    <message>
        <source>Result</source>
        <translation>Результат</translation>
    </message>
    <message>
        <source>Inserts a new object into your document and opens it in the program the desktop uses for it.</source>
        <translation>Вставляет в документ новый объект и открывает его в программе, которую рабочий стол использует для таких файлов.</translation>
    </message>
    <message>
        <source>Inserts a picture of the file into your document. The picture is linked to the file, so that changes to the file are shown in your document.</source>
        <translation>Вставляет в документ изображение файла, связанное с самим файлом: изменения файла будут видны в документе.</translation>
    </message>
    <message>
        <source>Inserts the contents of the file as an object into your document, so that you may open it with the program the desktop uses for it.</source>
        <translation>Вставляет содержимое файла в документ как объект, который можно открыть программой, используемой рабочим столом для таких файлов.</translation>
    </message>
    <message>
        <source>It will be displayed as an icon.</source>
        <translation>Объект будет показан в виде значка.</translation>
    </message>
    <message>
        <source>Browse</source>
        <translation>Обзор</translation>
    </message>
</context>
<context>
    <name>TObjectPropertiesDialog</name>
    <message>
        <source>General</source>
        <translation>Общие</translation>
    </message>
    <message>
        <source>View</source>
        <translation>Вид</translation>
    </message>
    <message>
        <source>Link</source>
        <translation>Связь</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>ОК</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Отмена</translation>
    </message>
    <message>
        <source>Name:</source>
        <translation>Имя:</translation>
    </message>
    <message>
        <source>Type:</source>
        <translation>Тип:</translation>
    </message>
    <message>
        <source>Size:</source>
        <translation>Размер:</translation>
    </message>
    <message>
        <source>Location:</source>
        <translation>Расположение:</translation>
    </message>
    <message>
        <source>Display as &amp;editable information</source>
        <translation>Показывать &amp;содержимое</translation>
    </message>
    <message>
        <source>Display as &amp;icon</source>
        <translation>Показывать в виде &amp;значка</translation>
    </message>
    <message>
        <source>Link source:</source>
        <translation>Источник связи:</translation>
    </message>
    <message>
        <source>&amp;Open Source</source>
        <translation>&amp;Открыть источник</translation>
    </message>
    <message>
        <source>&amp;Update Now</source>
        <translation>&amp;Обновить</translation>
    </message>
    <message>
        <source>&amp;Change Source</source>
        <translation>С&amp;менить источник</translation>
    </message>
    <message>
        <source>&amp;Break Link</source>
        <translation>&amp;Разорвать связь</translation>
    </message>
</context>
<context>
    <name>TPreviewForm</name>
    <message>
        <source>Print preview</source>
        <translation>Предварительный просмотр</translation>
    </message>
    <message>
        <source>Print text</source>
        <translation>Напечатать текст</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>Печать</translation>
    </message>
    <message>
        <source>To first or to last page</source>
        <translation>К первой или последней странице</translation>
    </message>
    <message>
        <source>Previous page</source>
        <translation>Предыдущая страница</translation>
    </message>
    <message>
        <source>Number of page</source>
        <translation>Номер страницы</translation>
    </message>
    <message>
        <source>Next page</source>
        <translation>Следующая страница</translation>
    </message>
    <message>
        <source>Scale of preview</source>
        <translation>Масштаб просмотра</translation>
    </message>
    <message>
        <source>Whole page</source>
        <translation>Страница целиком</translation>
    </message>
    <message>
        <source>To width of a window</source>
        <translation>По ширине окна</translation>
    </message>
    <message>
        <source>Scale of 100 %</source>
        <translation>Масштаб 100 %</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Закрыть</translation>
    </message>
    <message>
        <source>Close of print preview window</source>
        <translation>Закрыть окно предварительного просмотра</translation>
    </message>
</context>
<context>
    <name>TfmSetup</name>
    <message>
        <source>Saving in registry of parameters of program </source>
        <translation>Сохранение параметров программы</translation>
    </message>
    <message>
        <source>Appearance</source>
        <translation>Вид</translation>
    </message>
    <message>
        <source>Encoding</source>
        <translation>Кодировка</translation>
    </message>
    <message>
        <source>Print options</source>
        <translation>Печать</translation>
    </message>
    <message>
        <source>Types of files</source>
        <translation>Типы файлов</translation>
    </message>
    <message>
        <source>    The current parameters of a font, background color, size of indents and screen mode will be saved.</source>
        <translation>    Будут сохранены текущие шрифт, цвет фона, размер отступов и режим экрана.</translation>
    </message>
    <message>
        <source>Full screen mode by loading</source>
        <translation>Во весь экран при запуске</translation>
    </message>
    <message>
        <source>Toggle on/off full screen mode</source>
        <translation>Включить или выключить полноэкранный режим</translation>
    </message>
    <message>
        <source>Hide main menu and panels</source>
        <translation>Скрывать главное меню и панели</translation>
    </message>
    <message>
        <source>Toggle on/off hiding main menu and panels by full screen mode</source>
        <translation>Скрывать ли главное меню и панели в полноэкранном режиме</translation>
    </message>
    <message>
        <source>Text read-only mode</source>
        <translation>Только для чтения</translation>
    </message>
    <message>
        <source>Switching between editor or viewer mode</source>
        <translation>Переключение между режимами редактора и просмотра</translation>
    </message>
    <message>
        <source>Border indents of window are enabled</source>
        <translation>Поля по краям окна</translation>
    </message>
    <message>
        <source>Toggle on/off using right and left indents</source>
        <translation>Включить или выключить левое и правое поля</translation>
    </message>
    <message>
        <source>Size of right and left indents</source>
        <translation>Ширина левого и правого полей</translation>
    </message>
    <message>
        <source>All encoding buttons are visibled</source>
        <translation>Показывать все кнопки кодировок</translation>
    </message>
    <message>
        <source>Toggle on/off showing of all encoding buttons</source>
        <translation>Показывать или скрывать все кнопки кодировок</translation>
    </message>
    <message>
        <source>Paragraph buttons are visibled</source>
        <translation>Показывать кнопки абзаца</translation>
    </message>
    <message>
        <source>Toggle on/off showing of paragraph buttons</source>
        <translation>Показывать или скрывать кнопки абзаца</translation>
    </message>
    <message>
        <source>Wrapping of lines on right border</source>
        <translation>Перенос строк по правому краю</translation>
    </message>
    <message>
        <source>Toggle on/off the wrapping of lines</source>
        <translation>Включить или выключить перенос строк</translation>
    </message>
    <message>
        <source>Add the program to context menu of explorer</source>
        <translation>Добавить программу в контекстное меню файлового менеджера</translation>
    </message>
    <message>
        <source>Add/Remove the program to context menu of explorer</source>
        <translation>Добавить программу в контекстное меню файлового менеджера или убрать её оттуда</translation>
    </message>
    <message>
        <source>Add the program to context menu of &quot;Start&quot; button</source>
        <translation>Добавить программу в меню приложений</translation>
    </message>
    <message>
        <source>Add/Remove the program to context menu of &quot;Start&quot; button</source>
        <translation>Добавить программу в меню приложений или убрать её оттуда</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Сохранить</translation>
    </message>
    <message>
        <source>To save current background, font, etc. as parameters by default</source>
        <translation>Сохранить текущие фон, шрифт и прочее как параметры по умолчанию</translation>
    </message>
    <message>
        <source>&amp;Clear</source>
        <translation>О&amp;чистить</translation>
    </message>
    <message>
        <source>Remove from registry all data of program</source>
        <translation>Удалить все сохранённые данные программы</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Закрыть</translation>
    </message>
    <message>
        <source>Close window</source>
        <translation>Закрыть окно</translation>
    </message>
    <message>
        <source>    Current parameters encoding, OLE objects, URL autodetection and numbering of paragraphs will be saved.</source>
        <translation>    Будут сохранены текущие кодировка, поддержка объектов, распознавание ссылок и нумерация абзацев.</translation>
    </message>
    <message>
        <source>Automatic detection of encoding</source>
        <translation>Определять кодировку автоматически</translation>
    </message>
    <message>
        <source>Detect encoding automatically by opening of file</source>
        <translation>Определять кодировку файла при открытии</translation>
    </message>
    <message>
        <source>MS-DOS</source>
        <translation>MS-DOS</translation>
    </message>
    <message>
        <source>Windows</source>
        <translation>Windows</translation>
    </message>
    <message>
        <source>KOI-8R</source>
        <translation>KOI-8R</translation>
    </message>
    <message>
        <source>Macintosh</source>
        <translation>Macintosh</translation>
    </message>
    <message>
        <source>ISO 8859-5</source>
        <translation>ISO 8859-5</translation>
    </message>
    <message>
        <source>Unicode</source>
        <translation>Unicode</translation>
    </message>
    <message>
        <source>RTF</source>
        <translation>RTF</translation>
    </message>
    <message>
        <source>UTF-8</source>
        <translation>UTF-8</translation>
    </message>
    <message>
        <source>Encoding by default</source>
        <translation>Кодировка по умолчанию</translation>
    </message>
    <message>
        <source>Except for Mac</source>
        <translation>Кроме Macintosh</translation>
    </message>
    <message>
        <source>Not detect macintosh encoding</source>
        <translation>Не распознавать кодировку Macintosh</translation>
    </message>
    <message>
        <source>Automatic URL detection</source>
        <translation>Распознавать ссылки</translation>
    </message>
    <message>
        <source>Toggle on/off of the URL autodetection</source>
        <translation>Включить или выключить распознавание ссылок</translation>
    </message>
    <message>
        <source>OLE objects support</source>
        <translation>Поддержка встроенных объектов</translation>
    </message>
    <message>
        <source>Toggle on/off OLE objects support (will have effect only by next call of editor) </source>
        <translation>Включить или выключить поддержку встроенных объектов (действует со следующего запуска)</translation>
    </message>
    <message>
        <source>Action when character graphic in Dos encoding was found</source>
        <translation>Если в тексте MS-DOS найдена псевдографика</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Ничего не делать</translation>
    </message>
    <message>
        <source>OEM windows transformation</source>
        <translation>Показывать символами OEM</translation>
    </message>
    <message>
        <source>Transform text to UNICODE</source>
        <translation>Преобразовать текст в Unicode</translation>
    </message>
    <message>
        <source>Transform tables to paragraphs</source>
        <translation>Преобразовать псевдографику в таблицы</translation>
    </message>
    <message>
        <source>Choice of a kind of character graphics support in Dos encoding</source>
        <translation>Как показывать псевдографику в тексте MS-DOS</translation>
    </message>
    <message>
        <source>Numbering style</source>
        <translation>Вид нумерации</translation>
    </message>
    <message>
        <source>Underline style</source>
        <translation>Вид подчёркивания</translation>
    </message>
    <message>
        <source>Numbering of paragraphs by default</source>
        <translation>Нумерация абзацев по умолчанию</translation>
    </message>
    <message>
        <source>Underline by default</source>
        <translation>Подчёркивание по умолчанию</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Сохранить</translation>
    </message>
    <message>
        <source>To save current parameters encoding and URL autodetection,numbering of paragraphs</source>
        <translation>Сохранить текущие кодировку, распознавание ссылок и нумерацию абзацев</translation>
    </message>
    <message>
        <source>    The parameters of numbering of pages and bordering by printing of the text will be saved.</source>
        <translation>    Будут сохранены параметры нумерации страниц и рамок при печати.</translation>
    </message>
    <message>
        <source>Print numbers for all pages </source>
        <translation>Нумеровать все страницы</translation>
    </message>
    <message>
        <source>Toggle on/off of numbers printing for all pages </source>
        <translation>Печатать ли номера на всех страницах</translation>
    </message>
    <message>
        <source>Number on the first page</source>
        <translation>Номер на первой странице</translation>
    </message>
    <message>
        <source>Toggle on/off of initial page number printing </source>
        <translation>Печатать ли номер первой страницы</translation>
    </message>
    <message>
        <source>Input of initial page number</source>
        <translation>Начальный номер страницы</translation>
    </message>
    <message>
        <source>Position</source>
        <translation>Положение</translation>
    </message>
    <message>
        <source>At the top of page</source>
        <translation>Вверху страницы</translation>
    </message>
    <message>
        <source>At the bottom of page</source>
        <translation>Внизу страницы</translation>
    </message>
    <message>
        <source>Choose position of page number</source>
        <translation>Где печатать номер страницы</translation>
    </message>
    <message>
        <source>Alignment</source>
        <translation>Выравнивание</translation>
    </message>
    <message>
        <source>Left</source>
        <translation>Слева</translation>
    </message>
    <message>
        <source>Center</source>
        <translation>По центру</translation>
    </message>
    <message>
        <source>Right</source>
        <translation>Справа</translation>
    </message>
    <message>
        <source>Choose alignment of numbers of pages</source>
        <translation>Выравнивание номеров страниц</translation>
    </message>
    <message>
        <source>Borders</source>
        <translation>Рамки</translation>
    </message>
    <message>
        <source>Choose types of a bordering of pages</source>
        <translation>Какие рамки печатать на страницах</translation>
    </message>
    <message>
        <source>Top</source>
        <translation>Сверху</translation>
    </message>
    <message>
        <source>Bottom</source>
        <translation>Снизу</translation>
    </message>
    <message>
        <source>Black-and-white printer</source>
        <translation>Чёрно-белый принтер</translation>
    </message>
    <message>
        <source>To set black color of font before printing</source>
        <translation>Печатать весь текст чёрным</translation>
    </message>
    <message>
        <source>Units</source>
        <translation>Единицы</translation>
    </message>
    <message>
        <source>millimeters</source>
        <translation>миллиметры</translation>
    </message>
    <message>
        <source>inches</source>
        <translation>дюймы</translation>
    </message>
    <message>
        <source>Choose units for indents of pages</source>
        <translation>Единицы измерения полей страницы</translation>
    </message>
    <message>
        <source>Saving of the changes</source>
        <translation>Сохранение изменений</translation>
    </message>
    <message>
        <source>Indents</source>
        <translation>Поля</translation>
    </message>
    <message>
        <source>Choice of indents and paper orientation </source>
        <translation>Поля и ориентация бумаги</translation>
    </message>
    <message>
        <source>    The specified types files will be open by default by this program.</source>
        <translation>    Файлы отмеченных типов будут по умолчанию открываться этой программой.</translation>
    </message>
    <message>
        <source>    The changes to be in force at  once  after  their    saving   in   the windows registry.</source>
        <translation>    Изменения вступают в силу сразу после сохранения.</translation>
    </message>
    <message>
        <source>Save association of checked files to this program</source>
        <translation>Связать отмеченные типы файлов с этой программой</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Добавить</translation>
    </message>
    <message>
        <source>Add a new extension</source>
        <translation>Добавить новое расширение</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Удалить</translation>
    </message>
    <message>
        <source>Remove the extension</source>
        <translation>Удалить расширение</translation>
    </message>
</context>
<context>
    <name>TfmView</name>
    <message>
        <source>Increase of indents size</source>
        <translation>Расширить поля</translation>
    </message>
    <message>
        <source>Decrease  of indents size</source>
        <translation>Сузить поля</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Файл</translation>
    </message>
    <message>
        <source>New</source>
        <translation>Создать</translation>
    </message>
    <message>
        <source>New window</source>
        <translation>Новое окно</translation>
    </message>
    <message>
        <source>Close window  (Esc)</source>
        <translation>Закрыть окно  (Esc)</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Открыть</translation>
    </message>
    <message>
        <source>Open in new window...</source>
        <translation>Открыть в новом окне...</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Сохранить</translation>
    </message>
    <message>
        <source>Save as...</source>
        <translation>Сохранить как...</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>Экспорт</translation>
    </message>
    <message>
        <source>Macintosh (CR)</source>
        <translation>Macintosh (CR)</translation>
    </message>
    <message>
        <source>Unix (LF)</source>
        <translation>Unix (LF)</translation>
    </message>
    <message>
        <source>Page setup</source>
        <translation>Параметры страницы</translation>
    </message>
    <message>
        <source>Print preview</source>
        <translation>Предварительный просмотр</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>Печать</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Выход</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Правка</translation>
    </message>
    <message>
        <source>Undo (Ctrl-Z)</source>
        <translation>Отменить (Ctrl-Z)</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>Повторить</translation>
    </message>
    <message>
        <source>Select all</source>
        <translation>Выделить всё</translation>
    </message>
    <message>
        <source>Copy (Ctrl-C)</source>
        <translation>Копировать (Ctrl-C)</translation>
    </message>
    <message>
        <source>Cut (Ctrl-X)</source>
        <translation>Вырезать (Ctrl-X)</translation>
    </message>
    <message>
        <source>Delete of line (Ctrl-Y)</source>
        <translation>Удалить строку (Ctrl-Y)</translation>
    </message>
    <message>
        <source>Paste as plain text (Ctrl-V)</source>
        <translation>Вставить как простой текст (Ctrl-V)</translation>
    </message>
    <message>
        <source>Paste as object (Ctrl-Alt-V)</source>
        <translation>Вставить как объект (Ctrl-Alt-V)</translation>
    </message>
    <message>
        <source>Insert new object</source>
        <translation>Вставить новый объект</translation>
    </message>
    <message>
        <source>To uppercase (Alt-Plus)</source>
        <translation>В верхний регистр (Alt-Plus)</translation>
    </message>
    <message>
        <source>To lowercase (Alt-Minus)</source>
        <translation>В нижний регистр (Alt-Minus)</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>Поиск</translation>
    </message>
    <message>
        <source>Find (Ctrl-F)</source>
        <translation>Найти (Ctrl-F)</translation>
    </message>
    <message>
        <source>Find next (F3)</source>
        <translation>Найти далее (F3)</translation>
    </message>
    <message>
        <source>Replace (Ctrl-R)</source>
        <translation>Заменить (Ctrl-R)</translation>
    </message>
    <message>
        <source>Replace next (F4)</source>
        <translation>Заменить далее (F4)</translation>
    </message>
    <message>
        <source>Make a bookmark</source>
        <translation>Поставить закладку</translation>
    </message>
    <message>
        <source>Go to bookmark</source>
        <translation>Перейти к закладке</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>Параметры</translation>
    </message>
    <message>
        <source>Font</source>
        <translation>Шрифт</translation>
    </message>
    <message>
        <source>Choice of font</source>
        <translation>Выбор шрифта</translation>
    </message>
    <message>
        <source>Marking by color</source>
        <translation>Выделение цветом</translation>
    </message>
    <message>
        <source>Underline kind</source>
        <translation>Вид подчёркивания</translation>
    </message>
    <message>
        <source>Line</source>
        <translation>Линия</translation>
    </message>
    <message>
        <source>Heavy line</source>
        <translation>Жирная линия</translation>
    </message>
    <message>
        <source>Dotted line</source>
        <translation>Пунктирная линия</translation>
    </message>
    <message>
        <source>Dash line</source>
        <translation>Штриховая линия</translation>
    </message>
    <message>
        <source>Wave line</source>
        <translation>Волнистая линия</translation>
    </message>
    <message>
        <source>Dash and dot</source>
        <translation>Штрих-пунктир</translation>
    </message>
    <message>
        <source>Dash and two dot</source>
        <translation>Штрих и две точки</translation>
    </message>
    <message>
        <source>Apply</source>
        <translation>Применить</translation>
    </message>
    <message>
        <source>Indexes</source>
        <translation>Индексы</translation>
    </message>
    <message>
        <source>Superscript</source>
        <translation>Верхний индекс</translation>
    </message>
    <message>
        <source>Subscript</source>
        <translation>Нижний индекс</translation>
    </message>
    <message>
        <source>Background color</source>
        <translation>Цвет фона</translation>
    </message>
    <message>
        <source>Encoding</source>
        <translation>Кодировка</translation>
    </message>
    <message>
        <source>DOS-866</source>
        <translation>DOS-866</translation>
    </message>
    <message>
        <source>WIN-1251</source>
        <translation>WIN-1251</translation>
    </message>
    <message>
        <source>KOI-8R</source>
        <translation>KOI-8R</translation>
    </message>
    <message>
        <source>Macintosh</source>
        <translation>Macintosh</translation>
    </message>
    <message>
        <source>ISO 8859-5</source>
        <translation>ISO 8859-5</translation>
    </message>
    <message>
        <source>Unicode</source>
        <translation>Unicode</translation>
    </message>
    <message>
        <source>RTF</source>
        <translation>RTF</translation>
    </message>
    <message>
        <source>All buttons</source>
        <translation>Все кнопки</translation>
    </message>
    <message>
        <source>Paragraph</source>
        <translation>Абзац</translation>
    </message>
    <message>
        <source>Justification</source>
        <translation>Выравнивание</translation>
    </message>
    <message>
        <source>To left</source>
        <translation>По левому краю</translation>
    </message>
    <message>
        <source>To center</source>
        <translation>По центру</translation>
    </message>
    <message>
        <source>To right</source>
        <translation>По правому краю</translation>
    </message>
    <message>
        <source>To justify</source>
        <translation>По ширине</translation>
    </message>
    <message>
        <source>Line spacing</source>
        <translation>Междустрочный интервал</translation>
    </message>
    <message>
        <source>Single</source>
        <translation>Одинарный</translation>
    </message>
    <message>
        <source>Sesquialteral</source>
        <translation>Полуторный</translation>
    </message>
    <message>
        <source>Double</source>
        <translation>Двойной</translation>
    </message>
    <message>
        <source>Numbering</source>
        <translation>Нумерация</translation>
    </message>
    <message>
        <source>Bullet</source>
        <translation>Маркер</translation>
    </message>
    <message>
        <source>1 2 3</source>
        <translation>1 2 3</translation>
    </message>
    <message>
        <source>a b c</source>
        <translation>a b c</translation>
    </message>
    <message>
        <source>1. 2. 3.</source>
        <translation>1. 2. 3.</translation>
    </message>
    <message>
        <source>a. b. c.</source>
        <translation>a. b. c.</translation>
    </message>
    <message>
        <source>1) 2) 3)</source>
        <translation>1) 2) 3)</translation>
    </message>
    <message>
        <source>a) b) c)</source>
        <translation>a) b) c)</translation>
    </message>
    <message>
        <source>(1) (2) (3)</source>
        <translation>(1) (2) (3)</translation>
    </message>
    <message>
        <source>(a) (b) (c)</source>
        <translation>(a) (b) (c)</translation>
    </message>
    <message>
        <source>Buttons</source>
        <translation>Кнопки</translation>
    </message>
    <message>
        <source>Lines wrapping</source>
        <translation>Перенос строк</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Язык</translation>
    </message>
    <message>
        <source>Default</source>
        <translation>По умолчанию</translation>
    </message>
    <message>
        <source>Screen by default</source>
        <translation>Экран по умолчанию</translation>
    </message>
    <message>
        <source>Saved screen %1</source>
        <translation>Сохранённый экран %1</translation>
    </message>
    <message>
        <source>Window</source>
        <translation>Окно</translation>
    </message>
    <message>
        <source>Full screen</source>
        <translation>Во весь экран</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Справка</translation>
    </message>
    <message>
        <source>Introduction</source>
        <translation>Введение</translation>
    </message>
    <message>
        <source>About Quillet</source>
        <translation>О программе Quillet</translation>
    </message>
    <message>
        <source>To web site</source>
        <translation>Сайт программы</translation>
    </message>
    <message>
        <source>Email to author</source>
        <translation>Написать автору</translation>
    </message>
    <message>
        <source>Select all (Ctrl-A)</source>
        <translation>Выделить всё (Ctrl-A)</translation>
    </message>
    <message>
        <source>Insert new object (Ctrl-I)</source>
        <translation>Вставить новый объект (Ctrl-I)</translation>
    </message>
    <message>
        <source>Change of font (Shift-F10)</source>
        <translation>Сменить шрифт (Shift-F10)</translation>
    </message>
    <message>
        <source>Marking by color (Ctrl-F11)</source>
        <translation>Выделение цветом (Ctrl-F11)</translation>
    </message>
    <message>
        <source>Change of background color (Shift-F11)</source>
        <translation>Сменить цвет фона (Shift-F11)</translation>
    </message>
    <message>
        <source>To Dos encoding</source>
        <translation>Кодировка DOS (866)</translation>
    </message>
    <message>
        <source>To Windows encoding</source>
        <translation>Кодировка Windows (1251)</translation>
    </message>
    <message>
        <source>To KOI-8R encoding</source>
        <translation>Кодировка KOI-8R</translation>
    </message>
    <message>
        <source>To Macintosh encoding</source>
        <translation>Кодировка Macintosh</translation>
    </message>
    <message>
        <source>To ISO 8859-5  encoding</source>
        <translation>Кодировка ISO 8859-5</translation>
    </message>
    <message>
        <source>To Unicode</source>
        <translation>Кодировка Unicode</translation>
    </message>
    <message>
        <source>To RTF format</source>
        <translation>Формат RTF</translation>
    </message>
    <message>
        <source>Toggle on lines wrapping</source>
        <translation>Включить перенос строк</translation>
    </message>
    <message>
        <source>New blank text</source>
        <translation>Новый пустой текст</translation>
    </message>
    <message>
        <source>Open new file</source>
        <translation>Открыть файл</translation>
    </message>
    <message>
        <source>Save text in file</source>
        <translation>Сохранить текст в файл</translation>
    </message>
    <message>
        <source>Print of the text</source>
        <translation>Напечатать текст</translation>
    </message>
    <message>
        <source>Cut selected text</source>
        <translation>Вырезать выделенный текст</translation>
    </message>
    <message>
        <source>Copy selected text</source>
        <translation>Копировать выделенный текст</translation>
    </message>
    <message>
        <source>Paste from clipboard</source>
        <translation>Вставить из буфера обмена</translation>
    </message>
    <message>
        <source>Undo last change</source>
        <translation>Отменить последнее изменение</translation>
    </message>
    <message>
        <source>Redo last undo action</source>
        <translation>Повторить отменённое действие</translation>
    </message>
    <message>
        <source>Search in the text</source>
        <translation>Поиск в тексте</translation>
    </message>
    <message>
        <source>Replacement in the text</source>
        <translation>Замена в тексте</translation>
    </message>
    <message>
        <source>Left justify of text</source>
        <translation>Выровнять по левому краю</translation>
    </message>
    <message>
        <source>Justify to the center</source>
        <translation>Выровнять по центру</translation>
    </message>
    <message>
        <source>Right justify of text</source>
        <translation>Выровнять по правому краю</translation>
    </message>
    <message>
        <source>Width justify</source>
        <translation>Выровнять по ширине</translation>
    </message>
    <message>
        <source>Numbering of paragraph</source>
        <translation>Нумерация абзацев</translation>
    </message>
    <message>
        <source>Saving options of the program</source>
        <translation>Сохранение параметров программы</translation>
    </message>
    <message>
        <source>UTF-8</source>
        <translation>UTF-8</translation>
    </message>
    <message>
        <source>To UTF-8</source>
        <translation>В UTF-8</translation>
    </message>
</context>
</TS>
