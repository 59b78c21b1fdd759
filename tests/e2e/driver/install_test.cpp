// The setup program the build made, and its uninstaller, run in the session's prefix: by
// hand, page by page with real clicks, as the user it installs for runs them, and silently,
// as a script runs them. Where the clock goes, which shortcuts the options make, what
// happens to a running clock, and what uninstalling leaves.
#include "alarm_steps.h"
#include "clock.h"
#include "tray_driver.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>

namespace {

char const* const UninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Vexo";
char const* const ShortcutName = "\\Vexo - Tarnwick.lnk";

// The test names the setup program (VEXO_SETUP, a path of the Linux side,
// which Wine shows on drive Z:) and the version it carries (VEXO_VERSION).
std::string FromTest(const char* name)
{
    const char* value = getenv(name);
    return value ? value : "";
}

std::string SetupProgram()
{
    std::string setup = "Z:" + FromTest("VEXO_SETUP");
    for (char& c : setup)
        if (c == '/') c = '\\';
    return setup;
}

std::string Folder(int csidl)
{
    char path[MAX_PATH] = "";
    SHGetFolderPathA(NULL, csidl, NULL, SHGFP_TYPE_CURRENT, path);
    return path;
}

// Everything is the user's own.
std::string InstallFolder()
{
    return Folder(CSIDL_LOCAL_APPDATA) + "\\Programs\\Vexo";
}

std::string InstalledProgram()
{
    return InstallFolder() + "\\vexo.exe";
}

std::string StartMenuShortcut()
{
    return Folder(CSIDL_PROGRAMS) + ShortcutName;
}

std::string SignInShortcut()
{
    return Folder(CSIDL_STARTUP) + ShortcutName;
}

std::string DesktopShortcut()
{
    return Folder(CSIDL_DESKTOPDIRECTORY) + ShortcutName;
}

bool Exists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string Contents(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// The program a shortcut starts, as the shell reads it; "" without one.
std::string ShortcutTarget(const std::string& path)
{
    std::string target;
    wchar_t widePath[MAX_PATH];
    IShellLinkA* link = NULL;
    IPersistFile* file = NULL;
    CoInitialize(NULL);
    if (Exists(path) && MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, widePath, MAX_PATH) &&
        SUCCEEDED(CoCreateInstance(CLSID_ShellLink, NULL, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                   reinterpret_cast<void**>(&link))) &&
        SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
        SUCCEEDED(file->Load(widePath, STGM_READ))) {
        char buffer[MAX_PATH] = "";
        if (SUCCEEDED(link->GetPath(buffer, MAX_PATH, NULL, SLGP_RAWPATH))) target = buffer;
    }
    if (file) file->Release();
    if (link) link->Release();
    CoUninitialize();
    return target;
}

bool HasUninstallEntry(HKEY root = HKEY_CURRENT_USER)
{
    HKEY key;
    if (RegOpenKeyExA(root, UninstallKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

// A text of the clock's entry in Add/Remove Programs; "" without one.
std::string UninstallEntry(const char* name)
{
    char value[1024] = "";
    DWORD size = sizeof value - 1;
    RegGetValueA(HKEY_CURRENT_USER, UninstallKey, name, RRF_RT_REG_SZ, NULL, value, &size);
    return value;
}

// What the installed copy is made of, to tell whether a run changed it.
std::string InstalledCopy()
{
    return Contents(InstalledProgram()) + Contents(InstallFolder() + "\\Uninstall.exe") +
           UninstallEntry("UninstallString") + ShortcutTarget(StartMenuShortcut());
}

// A command line run as a person runs it. Every process it starts joins its job: the
// uninstaller copies itself to a temporary folder, starts the copy and ends, and the
// setup's finish page starts the clock.
struct SetupRun {
    HANDLE job = CreateJobObjectA(NULL, NULL);
    PROCESS_INFORMATION process = {};
    explicit SetupRun(std::string commandLine)
    {
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        if (!CreateProcessA(NULL, &commandLine[0], NULL, NULL, FALSE, CREATE_SUSPENDED, NULL, NULL, &startup, &process))
            return;
        AssignProcessToJobObject(job, process.hProcess);
        ResumeThread(process.hThread);
    }
    SetupRun(const SetupRun&) = delete;
    SetupRun& operator=(const SetupRun&) = delete;
    // A run a failed case left behind would stand in the way of the next.
    ~SetupRun()
    {
        TerminateJobObject(job, 1);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        CloseHandle(job);
    }
    // (Wine answers IsProcessInJob with a failure; the job's list of processes it keeps.)
    std::vector<DWORD> Processes() const
    {
        struct {
            JOBOBJECT_BASIC_PROCESS_ID_LIST list;
            ULONG_PTR more[63];
        } ids = {};
        QueryInformationJobObject(job, JobObjectBasicProcessIdList, &ids, sizeof ids, NULL);
        return std::vector<DWORD>(ids.list.ProcessIdList, ids.list.ProcessIdList + ids.list.NumberOfProcessIdsInList);
    }
    // Once every process has ended, the first one's exit code; -1 after a minute.
    long End() const
    {
        auto allEnded = [&] {
            JOBOBJECT_BASIC_ACCOUNTING_INFORMATION info = {};
            return QueryInformationJobObject(job, JobObjectBasicAccountingInformation, &info, sizeof info, NULL) &&
                   info.ActiveProcesses == 0;
        };
        DWORD code = 0;
        if (!process.hProcess || !WaitFor(allEnded, 60000) || !GetExitCodeProcess(process.hProcess, &code)) return -1;
        return static_cast<long>(code);
    }
};

// The shown top-level windows of the run's processes.
std::vector<HWND> WindowsOf(const SetupRun& run)
{
    std::vector<HWND> found;
    std::vector<DWORD> const ids = run.Processes();
    for (HWND w : TopLevelWindows()) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (IsWindowVisible(w) && std::find(ids.begin(), ids.end(), owner) != ids.end()) found.push_back(w);
    }
    return found;
}

long RunToTheEnd(const std::string& commandLine)
{
    return SetupRun(commandLine).End();
}

long Install(const std::string& options)
{
    return RunToTheEnd("\"" + SetupProgram() + "\" /S" + options);
}

// As Add/Remove Programs does, with the switch that asks no questions.
long Uninstall()
{
    std::string command = UninstallEntry("UninstallString");
    return command.empty() ? -1 : RunToTheEnd(command + " /S");
}

// The first window inside the given one whose text contains the given text, or NULL.
HWND Showing(HWND window, const std::string& text)
{
    for (HWND w : DescendantWindows(window))
        if (IsWindowVisible(w) && TextOf(w).find(text) != std::string::npos) return w;
    return NULL;
}

// One step through a setup program's pages and boxes: wait for the window of the run that
// shows the text (a page's heading or a box's message), look at it, press the button. The
// setup goes on to its finish page by itself once the files are in.
struct Step {
    const char* shows;
    int press;  // IDOK: Next, Install, Finish, Uninstall, Close or OK
    std::function<void(HWND)> look = nullptr;
};

void Follow(const SetupRun& run, const std::vector<Step>& steps)
{
    for (const Step& step : steps) {
        SCOPED_TRACE(step.shows);
        HWND window = NULL;
        HWND button = NULL;
        ASSERT_TRUE(WaitFor(
            [&] {
                window = NULL;
                for (HWND w : WindowsOf(run))
                    if (Showing(w, step.shows)) window = w;
                button = window ? GetDlgItem(window, step.press) : NULL;
                return button && IsWindowEnabled(button) && IsWindowVisible(button);
            },
            30000))
            << "no window of the run shows it";
        if (step.look) step.look(window);
        ASSERT_FALSE(::testing::Test::HasFatalFailure());
        BringToFront(window);
        ClickControl(button);
    }
}

bool Ticked(HWND box)
{
    return SendMessageA(box, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

// The finish page's "Start Vexo now", ticked as it opens; the test may untick it.
std::function<void(HWND)> StartNow(bool start)
{
    return [start](HWND page) {
        HWND box = Showing(page, "Start Vexo now");
        ASSERT_NE(box, nullptr);
        EXPECT_TRUE(Ticked(box)) << "not ticked as the page opens";
        if (!start) {
            BringToFront(page);
            ClickControl(box);
            ASSERT_TRUE(WaitFor([&] { return !Ticked(box); }, 3000));
        }
    };
}

// The clock a run started, which the case then holds as its own.
ClockProcess ClockOfRun(const SetupRun& run)
{
    ClockProcess clock;
    WaitFor(
        [&] {
            for (HWND w : WindowsOf(run))
                if (ClassOf(w) == "TOLVAPROG") clock.form = w;
            return clock.form != NULL;
        },
        10000);
    GetWindowThreadProcessId(clock.form, &clock.process.dwProcessId);
    clock.process.hProcess = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, clock.process.dwProcessId);
    return clock;
}

std::string ImageOf(HANDLE process)
{
    char path[MAX_PATH] = "";
    DWORD size = MAX_PATH;
    QueryFullProcessImageNameA(process, 0, path, &size);
    return path;
}

// The setup program asks for no administrator: its manifest's execution level.
bool RunsAsInvoker(const std::string& program)
{
    HMODULE image = LoadLibraryExA(program.c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
    HRSRC found = image ? FindResourceA(image, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24)) : NULL;
    std::string manifest;
    if (found)
        manifest.assign(static_cast<const char*>(LockResource(LoadResource(image, found))),
                        SizeofResource(image, found));
    if (image) FreeLibrary(image);
    return manifest.find("level=\"asInvoker\"") != std::string::npos;
}

// Each case leaves the prefix without the clock, also when it fails, for the
// groups that run after it.
class Installing : public ::testing::Test {
protected:
    void TearDown() override
    {
        if (HasUninstallEntry()) Uninstall();
    }
};

}  // namespace

TEST_F(Installing, PutsTheClockInTheUsersProgramsStartMenuAndAddRemovePrograms)
{
    ASSERT_FALSE(FromTest("VEXO_SETUP").empty()) << "the test names the setup program in VEXO_SETUP";
    EXPECT_TRUE(RunsAsInvoker(SetupProgram())) << "the setup program asks for an administrator";
    ASSERT_EQ(Install(""), 0);
    EXPECT_FALSE(HasUninstallEntry(HKEY_LOCAL_MACHINE)) << "an entry for every user";
    std::string const program = InstalledProgram();
    EXPECT_TRUE(Contents(program) == Contents(ClockProgramPath())) << program << " is not the program as built";
    EXPECT_EQ(ShortcutTarget(StartMenuShortcut()), program);

    std::string const uninstaller = InstallFolder() + "\\Uninstall.exe";
    struct Entry {
        const char* name;
        std::string value;
    } const entries[] = {
        {"DisplayName", "Vexo - Tarnwick"},
        {"DisplayVersion", FromTest("VEXO_VERSION")},
        {"Publisher", "Tarnwick Software"},
        {"DisplayIcon", program + ",0"},
        {"UninstallString", "\"" + uninstaller + "\""},
    };
    for (const Entry& entry : entries) EXPECT_EQ(UninstallEntry(entry.name), entry.value) << entry.name;
    EXPECT_TRUE(Exists(uninstaller));
}

TEST_F(Installing, MakesTheSignInAndDesktopShortcutsOnlyWhenAsked)
{
    // Each install goes over the one before, which it replaces whole.
    struct Choice {
        const char* options;
        bool signIn;
        bool desktop;
    } const choices[] = {
        {" /StartAtSignIn /DesktopShortcut", true, true},
        {"", false, false},
        {" /StartAtSignIn", true, false},
    };
    for (const Choice& choice : choices) {
        SCOPED_TRACE(choice.options);
        ASSERT_EQ(Install(choice.options), 0);
        std::string const program = InstalledProgram();
        EXPECT_EQ(ShortcutTarget(SignInShortcut()), choice.signIn ? program : "");
        EXPECT_EQ(ShortcutTarget(DesktopShortcut()), choice.desktop ? program : "");
        EXPECT_EQ(ShortcutTarget(StartMenuShortcut()), program);
    }
}

TEST_F(Installing, UninstallingEndsTheRunningClockAndLeavesNothingBehind)
{
    ASSERT_EQ(Install(" /StartAtSignIn /DesktopShortcut"), 0);
    TrayIcon icon;
    ClockProcess clock = StartClockInTray(icon, {TimeZoneFor(0)}, Sound::Off, InstalledProgram());
    ASSERT_NE(clock.form, nullptr) << "the installed clock showed no form";
    ASSERT_NE(icon.tooltip, nullptr) << "the installed clock showed no tray icon";

    ASSERT_EQ(Uninstall(), 0);
    ExpectExitCodeZero(clock);
    EXPECT_TRUE(WaitFor([&] { return !FindIcon(icon); }, 3000)) << "the tray icon stayed";
    for (const std::string& path : {InstallFolder(), StartMenuShortcut(), SignInShortcut(), DesktopShortcut()})
        EXPECT_FALSE(Exists(path)) << path;
    EXPECT_FALSE(HasUninstallEntry());
}

TEST_F(Installing, ByHandInTheUsersFolderAndFinishStartsTheInstalledClock)
{
    SetupRun setup("\"" + SetupProgram() + "\"");
    auto folderField = [](HWND page) {
        std::vector<HWND> inside = DescendantWindows(page);
        auto field = std::find_if(inside.begin(), inside.end(), [](HWND w) { return ClassOf(w) == "Edit"; });
        ASSERT_NE(field, inside.end());
        EXPECT_EQ(TextOf(*field), InstallFolder());
    };
    Follow(setup, {{"Choose Components", IDOK},
                   {"Choose Install Location", IDOK, folderField},
                   {"Completing", IDOK, StartNow(true)}});
    ASSERT_FALSE(HasFatalFailure());
    ClockProcess clock = ClockOfRun(setup);
    ASSERT_NE(clock.form, nullptr) << "Finish started no clock";
    EXPECT_EQ(lstrcmpiA(ImageOf(clock.process.hProcess).c_str(), InstalledProgram().c_str()), 0)
        << ImageOf(clock.process.hProcess) << " is not the installed clock";
    EXPECT_TRUE(HasUninstallEntry());
}

TEST_F(Installing, ByHandOverARunningClockTheSetupAndTheUninstallerAskFirstNamingItsAlarm)
{
    struct Way {
        const char* what;
        std::function<std::string()> command;
        std::vector<Step> toTheQuestion;
        std::vector<Step> afterOk;
        bool installedAfterOk;
        long cancelledCode;  // the uninstaller's first process ends once its copy has started
    } const ways[] = {
        {"setup",
         [] { return "\"" + SetupProgram() + "\""; },
         {{"Choose Components", IDOK}, {"Choose Install Location", IDOK}},
         {{"Completing", IDOK, StartNow(false)}},
         true,
         1},
        {"uninstaller",
         [] { return UninstallEntry("UninstallString"); },
         {{"Uninstall Vexo - Tarnwick", IDOK}},
         {{"Uninstallation Complete", IDOK}},
         false,
         0},
    };
    for (const Way& way : ways) {
        SCOPED_TRACE(way.what);
        ASSERT_EQ(Install(""), 0);
        // Hours away from the alarm, which is set to another time and off.
        ClockProcess clock =
            StartClock({TimeZoneFor(OffsetBringingTimeSoon(7, 30, 0, NowMs(), 3 * 3600))}, InstalledProgram());
        ASSERT_NE(clock.form, nullptr);
        HWND alarmButton = ControlAt(clock.form, AlarmButtonIndex);
        ASSERT_TRUE(TypeAlarmTime(clock.form, "07:30:00"));
        ClickControl(alarmButton);
        ASSERT_TRUE(WaitForText(alarmButton, "Alarm Off", 3000));
        std::string const before = InstalledCopy();
        Step const question = {"Vexo is running (alarm 07:30:00, off)", IDCANCEL};

        // Cancel ends the run with nothing changed and the clock as it was.
        SetupRun cancelled(way.command());
        std::vector<Step> steps = way.toTheQuestion;
        steps.push_back(question);
        Follow(cancelled, steps);
        ASSERT_FALSE(HasFatalFailure());
        EXPECT_EQ(cancelled.End(), way.cancelledCode);
        EXPECT_EQ(InstalledCopy(), before);
        EXPECT_TRUE(KeepsTicking(clock.form, 1));
        EXPECT_EQ(FieldsText(clock.form), "07:30:00");
        EXPECT_EQ(TextOf(alarmButton), "Alarm Off");

        // OK closes the clock cleanly, then the run does its work and starts nothing: a clock
        // it started would keep its job from ending.
        SetupRun confirmed(way.command());
        steps = way.toTheQuestion;
        steps.push_back({question.shows, IDOK});
        steps.insert(steps.end(), way.afterOk.begin(), way.afterOk.end());
        Follow(confirmed, steps);
        ASSERT_FALSE(HasFatalFailure());
        ExpectExitCodeZero(clock);
        EXPECT_EQ(confirmed.End(), 0);
        EXPECT_EQ(Exists(InstalledProgram()), way.installedAfterOk);
        EXPECT_EQ(HasUninstallEntry(), way.installedAfterOk);
        EXPECT_TRUE(NoClockWindowLeft());
    }
}

TEST_F(Installing, AClockThatDoesNotCloseStopsASilentSetupBeforeItChangesAnything)
{
    ASSERT_EQ(Install(""), 0);
    ClockProcess clock = StartClock({TimeZoneFor(0)}, InstalledProgram());
    ASSERT_NE(clock.form, nullptr);
    std::string const before = InstalledCopy();
    SuspendThread(clock.process.hThread);
    EXPECT_EQ(Install(""), 2);
    EXPECT_EQ(InstalledCopy(), before);
    // Answering again, the clock handles the close it was sent.
    ResumeThread(clock.process.hThread);
    ExpectExitCodeZero(clock);
}
