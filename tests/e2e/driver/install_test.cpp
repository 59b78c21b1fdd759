// The setup program the build made, and its uninstaller, run silently as an
// administrator's script runs them in the session's prefix: where the clock
// goes, which shortcuts the options make, and what uninstalling leaves.
#include "clock.h"
#include "tray_driver.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <cstdlib>
#include <fstream>
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

std::string Folder(int csidl)
{
    char path[MAX_PATH] = "";
    SHGetFolderPathA(NULL, csidl, NULL, SHGFP_TYPE_CURRENT, path);
    return path;
}

std::string InstallFolder()
{
    return Folder(CSIDL_PROGRAM_FILES) + "\\Vexo";
}

std::string InstalledProgram()
{
    return InstallFolder() + "\\vexo.exe";
}

// The Start menu and the desktop are every user's; the Startup folder is the
// user's own.
std::string StartMenuShortcut()
{
    return Folder(CSIDL_COMMON_PROGRAMS) + ShortcutName;
}

std::string SignInShortcut()
{
    return Folder(CSIDL_STARTUP) + ShortcutName;
}

std::string DesktopShortcut()
{
    return Folder(CSIDL_COMMON_DESKTOPDIRECTORY) + ShortcutName;
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

bool HasUninstallEntry()
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, UninstallKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

// A text of the clock's entry in Add/Remove Programs; "" without one.
std::string UninstallEntry(const char* name)
{
    char value[1024] = "";
    DWORD size = sizeof value - 1;
    RegGetValueA(HKEY_LOCAL_MACHINE, UninstallKey, name, RRF_RT_REG_SZ, NULL, value, &size);
    return value;
}

// Runs a command line until it and every process it started have ended:
// the uninstaller copies itself to a temporary folder, starts the copy and
// ends, and the copy does the work. The first process's exit code, or -1.
long RunToTheEnd(std::string commandLine)
{
    HANDLE job = CreateJobObjectA(NULL, NULL);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(NULL, &commandLine[0], NULL, NULL, FALSE, CREATE_SUSPENDED, NULL, NULL, &startup, &process)) {
        CloseHandle(job);
        return -1;
    }
    AssignProcessToJobObject(job, process.hProcess);
    ResumeThread(process.hThread);
    bool ended = WaitFor(
        [&] {
            JOBOBJECT_BASIC_ACCOUNTING_INFORMATION info = {};
            return QueryInformationJobObject(job, JobObjectBasicAccountingInformation, &info, sizeof info, NULL) &&
                   info.ActiveProcesses == 0;
        },
        60000);
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    CloseHandle(job);
    return ended ? static_cast<long>(code) : -1;
}

long Install(const std::string& options)
{
    std::string setup = "Z:" + FromTest("VEXO_SETUP");
    for (char& c : setup)
        if (c == '/') c = '\\';
    return RunToTheEnd("\"" + setup + "\" /S" + options);
}

// As Add/Remove Programs does, with the switch that asks no questions.
long Uninstall()
{
    std::string command = UninstallEntry("UninstallString");
    return command.empty() ? -1 : RunToTheEnd(command + " /S");
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

TEST_F(Installing, PutsTheClockInProgramFilesTheStartMenuAndAddRemovePrograms)
{
    ASSERT_FALSE(FromTest("VEXO_SETUP").empty()) << "the test names the setup program in VEXO_SETUP";
    ASSERT_EQ(Install(""), 0);
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
