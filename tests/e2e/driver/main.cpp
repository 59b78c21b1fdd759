// The end-to-end driver: a console program that runs beside the clock under
// Wine. With no mode it runs the GoogleTest cases; the modes serve scripts
// that look at the screen between two steps, and --soak SECONDS runs the
// soak for that long.
#include "clock.h"
#include "soak.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <io.h>

namespace {

// --start-clock: starts the clock and leaves it running; prints its process
// id and the screen rectangle of its client area.
int StartAndReport()
{
    ClockProcess clock = StartClock({TimeZoneFor(0)});
    if (!clock.form) return 1;
    RECT client;
    GetClientRect(clock.form, &client);
    POINT origin = {0, 0};
    ClientToScreen(clock.form, &origin);
    // Give the form time to paint before anyone looks at it.
    RedrawWindow(clock.form, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    printf("%lu %ld %ld %ld %ld\n", clock.process.dwProcessId, origin.x, origin.y, client.right, client.bottom);
    clock.Release();
    return 0;
}

// --close-clock PID: closes that copy of the clock; 0 when it ended with 0.
int CloseAndWait(DWORD processId)
{
    ClockProcess clock;
    clock.process.dwProcessId = processId;
    clock.process.hProcess = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION | PROCESS_TERMINATE, FALSE, processId);
    if (!clock.process.hProcess) return 1;
    return StopClock(clock) ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    // Wine's C runtime would write \r\n for every \n.
    _setmode(_fileno(stdout), _O_BINARY);
    // The clock is aware of the display's scale; a driver that was not would be
    // shown its windows in coordinates scaled back to 96 DPI.
    SetProcessDPIAware();
    if (argc >= 2 && strcmp(argv[1], "--start-clock") == 0) return StartAndReport();
    // --check-layout PID DPI: checks that copy's layout at the session's DPI (CheckLayout).
    if (argc >= 4 && strcmp(argv[1], "--check-layout") == 0)
        return CheckLayout(static_cast<DWORD>(strtoul(argv[2], NULL, 10)), atoi(argv[3]));
    if (argc >= 3 && strcmp(argv[1], "--close-clock") == 0)
        return CloseAndWait(static_cast<DWORD>(strtoul(argv[2], NULL, 10)));
    ::testing::InitGoogleTest(&argc, argv);
    ReportStopFailure = [](const std::string& what) { ADD_FAILURE() << what; };
    if (argc >= 3 && strcmp(argv[1], "--soak") == 0) {
        SoakSeconds = atoi(argv[2]);
        ::testing::GTEST_FLAG(filter) = "Soak.*";
    }
    return RUN_ALL_TESTS();
}
