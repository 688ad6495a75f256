// SPDX-License-Identifier: GPL-3.0-or-later
// quillet-conv and the files it writes: refusals in the editor's words, names that
// are not UTF-8, folders that take no new file, signals in the middle of a save,
// two copies at once, and files the kernel reports without a size.
#include "runtool.h"
#include "testfiles.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fcntl.h>
#include <fstream>
#include <random>
#include <set>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

const std::string Text = "Съешь же ещё этих мягких французских булок, да выпей чаю.\r\n";
constexpr const char* CannotWrite = "Can not open file for writing";
// Runs as an ordinary user when the tests run as root.
const TToolOptions AsNobody{.env = {}, .unprivileged = true};

std::set<std::string> Names(const std::string& dir)
{
    std::set<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir))
        names.insert(e.path().filename().string());
    return names;
}

// A folder an unprivileged run can reach and fill.
void OpenToAll(const std::string& path)
{
    ASSERT_EQ(::chmod(path.c_str(), 0777), 0);
}

void GiveAway(const std::string& path)
{
    ASSERT_EQ(::chown(path.c_str(), UnprivilegedUid(), UnprivilegedGid()), 0);
}

TEST(QuilletConvFiles, AReadOnlyTargetIsRefusedOnEveryPathInTheEditorsWords)
{
    TTempDir dir;
    OpenToAll(dir.Path(""));
    const std::string in = dir.Write("in.txt", Iconv(Text, "CP1251"));
    ASSERT_EQ(::chmod(in.c_str(), 0644), 0);
    const std::string target = dir.Write("readonly.txt", FromString("keep me"));
    GiveAway(target);
    ASSERT_EQ(::chmod(target.c_str(), 0444), 0);
    const std::vector<std::vector<std::string>> runs = {
        {"convert", "--from", "win", "--to", "koi", in, target},
        {"convert", "--via-editor", "--from", "win", "--to", "koi", in, target},
        {"convert", "--from", "win", "--to", "rtf", in, target},
    };
    // Its owner, an ordinary user, may not write it; nor does the super-user,
    // who could, replace a file marked read-only for everybody.
    for (const bool unprivileged : {true, false}) {
        for (const auto& args : runs) {
            const TToolRun r = RunTool(args, {.env = {}, .unprivileged = unprivileged});
            EXPECT_EQ(r.status, 1) << args[2] << ' ' << r.err;
            EXPECT_EQ(r.err, std::string("quillet-conv: ") + CannotWrite + "\n") << args[2];
            EXPECT_EQ(ReadAll(target), FromString("keep me"));
        }
    }
    struct stat st {};
    ASSERT_EQ(::stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0444u);
    EXPECT_EQ(Names(dir.Path("")), (std::set<std::string>{"in.txt", "readonly.txt"}));
}

TEST(QuilletConvFiles, NamesThatAreNotUtf8AreReadAndWrittenExactly)
{
    TTempDir dir;
    const std::string one = dir.Write("one.txt", FromString("first\r\n"));
    const std::string two = dir.Write("two.txt", FromString("second\r\n"));
    // "а" in Windows-1251 and "б" in Windows-1251 (KOI8-R "а" is 0xC1).
    const std::string rtfA = dir.Path("a\xE0.rtf");
    const std::string rtfB = dir.Path("a\xE1.rtf");
    const std::string koi = dir.Path("\xC1\xC2.txt");
    ASSERT_EQ(RunTool({"convert", "--from", "win", "--to", "rtf", one, rtfA}).status, 0);
    ASSERT_EQ(RunTool({"convert", "--from", "win", "--to", "rtf", two, rtfB}).status, 0);
    ASSERT_EQ(RunTool({"convert", "--from", "win", "--to", "koi", two, koi}).status, 0);
    EXPECT_EQ(Names(dir.Path("")), (std::set<std::string>{"one.txt", "two.txt", "a\xE0.rtf", "a\xE1.rtf", "\xC1\xC2.txt"}));
    EXPECT_EQ(RunTool({"text", rtfA}).out.substr(0, 5), "first");
    EXPECT_EQ(RunTool({"text", rtfB}).out.substr(0, 6), "second");
    EXPECT_EQ(ReadAll(koi), FromString("second\r\n"));
    const TToolRun detect = RunTool({"detect", rtfB, koi});
    EXPECT_EQ(detect.status, 0) << detect.err;
    EXPECT_EQ(detect.out, rtfB + "\tRtf\tno-graphics\tlittle\n" + koi + "\tNone\tno-graphics\tlittle\n");
    // The editor's own path reads and writes the exact names too.
    ASSERT_EQ(RunTool({"convert", "--via-editor", "--from", "rtf", "--to", "win", rtfA, koi}).status, 0);
    const TBytes back = ReadAll(koi);
    EXPECT_EQ(TBytes(back.begin(), back.begin() + std::min<std::ptrdiff_t>(5, std::ssize(back))), FromString("first"));
}

TEST(QuilletConvFiles, AFolderThatTakesNoNewFileIsWrittenInPlaceKeepingOwnerModeAndLinks)
{
    TTempDir dir;
    OpenToAll(dir.Path(""));
    const std::string in = dir.Write("in.txt", Iconv(Text, "CP866"));
    ASSERT_EQ(::chmod(in.c_str(), 0644), 0);
    const std::string locked = dir.Path("locked");
    ASSERT_EQ(::mkdir(locked.c_str(), 0755), 0);
    const std::string target = dir.Write("locked/shared.txt", FromString("old contents, longer than the new ones will be"));
    ASSERT_EQ(::chmod(target.c_str(), 0666), 0);
    const std::string link = dir.Path("link.txt");
    ASSERT_EQ(::link(target.c_str(), link.c_str()), 0);
    struct stat before {};
    ASSERT_EQ(::stat(target.c_str(), &before), 0);
    ASSERT_EQ(::chmod(locked.c_str(), 0555), 0);

    const TToolRun bytePath = RunTool({"convert", "--from", "dos", "--to", "koi", in, target}, AsNobody);
    EXPECT_EQ(bytePath.status, 0) << bytePath.err;
    EXPECT_EQ(ReadAll(target), Iconv(Text, "KOI8-R"));
    const TToolRun editorPath =
        RunTool({"convert", "--via-editor", "--from", "dos", "--to", "win", in, target}, AsNobody);
    EXPECT_EQ(editorPath.status, 0) << editorPath.err;
    EXPECT_EQ(ReadAll(target), Iconv(Text, "CP1251"));

    struct stat after {};
    ASSERT_EQ(::stat(target.c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_nlink, 2u);
    EXPECT_EQ(after.st_uid, before.st_uid);
    EXPECT_EQ(after.st_mode & 07777, 0666u);
    EXPECT_EQ(ReadAll(link), Iconv(Text, "CP1251"));
    EXPECT_EQ(Names(locked), std::set<std::string>{"shared.txt"});

    // A new file cannot be made there: refused, nothing made.
    const TToolRun fresh = RunTool({"convert", "--from", "dos", "--to", "koi", in, locked + "/new.txt"}, AsNobody);
    EXPECT_EQ(fresh.status, 1);
    EXPECT_NE(fresh.err.find(CannotWrite), std::string::npos) << fresh.err;
    EXPECT_EQ(Names(locked), std::set<std::string>{"shared.txt"});
    ::chmod(locked.c_str(), 0755);
}

// Runs body in a child process with a private mount table in which a small
// file system is mounted on folder; answers the child's exit status, or -1 when
// this system does not let us (not the super-user).
int WithSmallFileSystem(const std::string& folder, const char* size, const std::function<int()>& body)
{
    const pid_t child = ::fork();
    if (child == 0) {
        if (::unshare(CLONE_NEWNS) != 0 || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount("tmpfs", folder.c_str(), "tmpfs", 0, (std::string("size=") + size).c_str()) != 0)
            ::_exit(77);
        ::_exit(body());
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    const int code = WIFEXITED(status) ? WEXITSTATUS(status) : 100;
    return code == 77 ? -1 : code;
}

TEST(QuilletConvFiles, AnInPlaceWriteThatFailsHalfWayPutsTheOldBytesBack)
{
    TTempDir dir;
    OpenToAll(dir.Path(""));
    const std::string small = dir.Path("small");
    ASSERT_EQ(::mkdir(small.c_str(), 0777), 0);
    std::string bigText;
    while (bigText.size() < 400000)
        bigText += Text;
    const std::string in = dir.Write("in.txt", Iconv(bigText, "CP1251"));
    ASSERT_EQ(::chmod(in.c_str(), 0644), 0);
    const TBytes old(100000, 'o');

    // The exit code says which check failed.
    const int result = WithSmallFileSystem(small, "256k", [&]() -> int {
        const std::string locked = small + "/locked";
        if (::mkdir(locked.c_str(), 0755) != 0)
            return 10;
        std::ofstream(locked + "/shared.txt", std::ios::binary).write(reinterpret_cast<const char*>(old.data()), std::streamsize(old.size()));
        ::chmod((locked + "/shared.txt").c_str(), 0666);
        ::chmod(locked.c_str(), 0555);
        // Leave room for the old bytes and a little more, not for the new ones.
        std::ofstream filler(small + "/filler", std::ios::binary);
        const std::string block(4096, 'f');
        while (filler.write(block.data(), std::streamsize(block.size())))
            filler.flush();
        filler.close();
        ::truncate((small + "/filler").c_str(), std::filesystem::file_size(small + "/filler") - 32768);
        const TToolRun r = RunTool({"convert", "--from", "win", "--to", "koi", in, locked + "/shared.txt"}, AsNobody);
        if (r.status != 1 || r.err.find("File writting error") == std::string::npos)
            return 20;
        if (ReadAll(locked + "/shared.txt") != old)
            return 30;
        if (Names(locked) != std::set<std::string>{"shared.txt"})
            return 40;
        return 0;
    });
    if (result < 0)
        GTEST_SKIP() << "mounting a small file system needs the super-user";
    EXPECT_EQ(result, 0);
}

// Waits until the process has its temporary output open: a descriptor on a
// file in folder that is not the input, or one with no name.
bool WaitForSaveInProgress(pid_t pid, const std::string& folder, const std::string& input)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    const std::string fds = "/proc/" + std::to_string(pid) + "/fd";
    while (std::chrono::steady_clock::now() < deadline) {
        std::error_code ec;
        for (const auto& e : std::filesystem::directory_iterator(fds, ec)) {
            const std::string link = std::filesystem::read_symlink(e.path(), ec).string();
            if (!ec && link.rfind(folder + "/", 0) == 0 && link != input)
                return true;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    return false;
}

TEST(QuilletConvFiles, ASignalInTheMiddleOfASaveLeavesNoTemporaryFileAndTheTargetWhole)
{
    TTempDir dir;
    const std::string in = dir.Path("in.txt");
    const std::string folder = std::filesystem::path(in).parent_path().string();
    const TBytes line = Iconv(Text, "CP1251");
    // The byte path, and the editor's own save (the window's); each input large
    // enough that its save takes a while and the signal comes while it runs.
    const struct {
        const char* to;
        int lines;
        std::vector<int> signals;
    } paths[] = {{"koi", 600000, {SIGKILL, SIGINT, SIGTERM, SIGHUP}}, {"rtf", 50000, {SIGKILL, SIGTERM}}};
    for (const auto& path : paths) {
        {
            std::ofstream f(in, std::ios::binary);
            for (int i = 0; i < path.lines; ++i)
                f.write(reinterpret_cast<const char*>(line.data()), std::streamsize(line.size()));
        }
        const std::string out = dir.Write("out", FromString("old contents"));
        for (const int signal : path.signals) {
            TRunningTool run({"convert", "--from", "win", "--to", path.to, in, out});
            ASSERT_TRUE(WaitForSaveInProgress(run.Pid(), folder, in)) << path.to << ' ' << signal;
            ::kill(run.Pid(), signal);
            EXPECT_EQ(run.Wait().signal, signal);
            EXPECT_EQ(ReadAll(out), FromString("old contents")) << path.to << ' ' << signal;
            EXPECT_EQ(Names(dir.Path("")), (std::set<std::string>{"in.txt", "out"})) << path.to << ' ' << signal;
        }
    }
}

// Kills a run at a moment: after delay from its start, or, when afterChange,
// after delay from the moment the target's first bytes stopped being first.
void KillAt(TRunningTool& run, const std::string& target, const TBytes& first, bool afterChange,
            std::chrono::microseconds delay)
{
    if (afterChange) {
        const int fd = ::open(target.c_str(), O_RDONLY | O_CLOEXEC);
        TBytes now(first.size());
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        auto running = [&] {
            siginfo_t info {};
            return ::waitid(P_PID, id_t(run.Pid()), &info, WEXITED | WNOHANG | WNOWAIT) == 0 && info.si_pid == 0;
        };
        while (std::chrono::steady_clock::now() < deadline &&
               ::pread(fd, now.data(), now.size(), 0) == ssize_t(now.size()) && now == first && running())
            std::this_thread::sleep_for(std::chrono::microseconds(20));
        ::close(fd);
    }
    std::this_thread::sleep_for(delay);
    ::kill(run.Pid(), SIGKILL);
}

TEST(QuilletConvFiles, AKillAtAnyMomentOfASaveInPlaceLeavesTheOldBytesOrTheNewOnes)
{
    TTempDir dir;
    OpenToAll(dir.Path(""));
    const std::string state = dir.Path("state");
    ASSERT_EQ(::mkdir(state.c_str(), 0700), 0);
    GiveAway(state);
    const TToolOptions options{.env = {"XDG_STATE_HOME=" + state}, .unprivileged = true};
    std::string text, oldText;
    while (text.size() < 10'000'000)
        text += Text;
    oldText = text + "и ещё немного старого текста\r\n";
    const std::string in = dir.Write("in.txt", Iconv(text, "CP1251"));
    ASSERT_EQ(::chmod(in.c_str(), 0644), 0);
    const std::string locked = dir.Path("locked");
    ASSERT_EQ(::mkdir(locked.c_str(), 0755), 0);
    const TBytes old = Iconv(oldText, "CP866");
    const std::string target = dir.Write("locked/big.txt", old);
    ASSERT_EQ(::chmod(target.c_str(), 0666), 0);
    ASSERT_EQ(::chmod(locked.c_str(), 0555), 0);
    const TBytes first(old.begin(), old.begin() + 64);
    auto putBack = [&] { std::ofstream(target, std::ios::binary | std::ios::trunc).write(reinterpret_cast<const char*>(old.data()), std::streamsize(old.size())); };
    const std::vector<std::string> convert = {"convert", "--from", "win", "--to", "koi", in, target};

    const auto started = std::chrono::steady_clock::now();
    ASSERT_EQ(RunTool(convert, options).status, 0);
    const auto whole = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - started);
    const TBytes fresh = ReadAll(target);
    ASSERT_EQ(fresh, Iconv(text, "KOI8-R"));

    // Half the kills come while the target is being overwritten, where a torn
    // file would show; the rest anywhere in the run.
    std::mt19937 random{std::random_device{}()};
    int putBackSeen = 0;
    for (int round = 0; round < 12; ++round) {
        putBack();
        const bool afterChange = round % 2 == 0;
        const auto delay = std::chrono::microseconds(
            afterChange ? std::uniform_int_distribution<long>(0, 600)(random)
                        : std::uniform_int_distribution<long>(0, whole.count())(random));
        {
            TRunningTool run(convert, options);
            KillAt(run, target, first, afterChange, delay);
            const TToolRun r = run.Wait();
            EXPECT_TRUE(r.signal == SIGKILL || r.status == 0) << r.err;
        }
        // The next run puts right what the killed one left.
        const TToolRun next = RunTool({"detect", target}, options);
        EXPECT_EQ(next.status, 0) << next.err;
        putBackSeen += next.err.find("was put back as it was") != std::string::npos;
        const TBytes after = ReadAll(target);
        EXPECT_TRUE(after == old || after == fresh)
            << "round " << round << ", killed " << delay.count() << " us " << (afterChange ? "into the overwrite" : "into the run");
        EXPECT_EQ(Names(locked), std::set<std::string>{"big.txt"});
        const std::string journals = state + "/quillet/saves";
        EXPECT_TRUE(!std::filesystem::exists(journals) || Names(journals).empty()) << next.err;
    }
    EXPECT_GT(putBackSeen, 0) << "no kill came in the middle of an overwrite";
    ::chmod(locked.c_str(), 0755);
}

TEST(QuilletConvFiles, TwoCopiesWritingOneFileAtOnceLeaveOneWholeResult)
{
    TTempDir dir;
    std::string a, b;
    for (int i = 0; i < 40000; ++i) {
        a += "Первый вариант текста.\r\n";
        b += "Второй вариант, длиннее первого.\r\n";
    }
    const std::string inA = dir.Write("a.txt", Iconv(a, "CP1251"));
    const std::string inB = dir.Write("b.txt", Iconv(b, "CP1251"));
    const std::string out = dir.Write("out.txt", FromString("old"));
    for (int round = 0; round < 5; ++round) {
        TRunningTool first({"convert", "--from", "win", "--to", "dos", inA, out});
        TRunningTool second({"convert", "--from", "win", "--to", "dos", inB, out});
        EXPECT_EQ(first.Wait().status, 0);
        EXPECT_EQ(second.Wait().status, 0);
        const TBytes result = ReadAll(out);
        EXPECT_TRUE(result == Iconv(a, "CP866") || result == Iconv(b, "CP866")) << result.size();
        EXPECT_EQ(Names(dir.Path("")), (std::set<std::string>{"a.txt", "b.txt", "out.txt"}));
    }
}

TEST(QuilletConvFiles, KernelFilesAreReadToTheirEndAndReadErrorsAreFailures)
{
    const TToolRun text = RunTool({"text", "/proc/self/status"});
    EXPECT_EQ(text.status, 0) << text.err;
    EXPECT_EQ(text.out.rfind("Name:\tquillet-conv\n", 0), 0u) << text.out;

    const TToolRun detect = RunTool({"detect", "/proc/self/mem"});
    EXPECT_TRUE(detect.status == 1 && detect.out.empty());
    EXPECT_NE(detect.err.find("cannot read \"/proc/self/mem\""), std::string::npos) << detect.err;

    const TToolRun textError = RunTool({"text", "/proc/self/mem"});
    EXPECT_TRUE(textError.status == 1 && textError.out.empty());

    TTempDir dir;
    const TToolRun convert = RunTool({"convert", "--from", "auto", "--to", "koi", "/proc/self/status", dir.Path("out")});
    EXPECT_EQ(convert.status, 0) << convert.err;
    EXPECT_EQ(ReadAll(dir.Path("out")).size() > 20, true);
}

TEST(QuilletConvFiles, TheEditorPathRunsOffscreenWhateverPlatformIsNamedAndSaysNothingOfQts)
{
    TTempDir dir;
    const std::string in = dir.Write("in.txt", Iconv(Text, "CP1251"));
    const std::vector<std::vector<std::string>> environments = {
        {"QT_QPA_PLATFORM=xcb", "DISPLAY", "WAYLAND_DISPLAY", "XDG_RUNTIME_DIR"},
        {"QT_QPA_PLATFORM=wayland", "WAYLAND_DISPLAY", "XDG_RUNTIME_DIR"},
        {"QT_QPA_PLATFORM=no-such-platform", "QT_QPA_PLATFORMTHEME=gtk3"},
    };
    for (const auto& env : environments) {
        const TToolRun r = RunTool({"text", in}, {.env = env});
        EXPECT_EQ(r.signal, 0) << env[0];
        EXPECT_EQ(r.status, 0) << env[0];
        EXPECT_EQ(r.err, "") << env[0];
        EXPECT_EQ(r.out, "Съешь же ещё этих мягких французских булок, да выпей чаю.\n") << env[0];
    }
}

} // namespace
