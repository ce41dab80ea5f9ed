// The Windows edition's window thread while it polls ornet5-sim on COM3
// (started by bench/win32_window_bench.sh): ORNET5.exe (ORNET5_EXE) is
// started, and from this process a message is sent to its main window
// every 2 ms, as the window system and other programs send theirs; each
// one's answer time is how long the window thread was busy, or the
// machine with it. Prints one table row: the case (the simulator's mode),
// the messages sent, the longest answer over the measured time and the
// median of each 3 s cycle's longest.
//
//   win32_window_thread_bench CASE SECONDS
//
// Started without arguments it stands in for ORNET5.exe as a program with
// the same two windows and nothing else to do: under Wine even such a
// program answers late now and then (the Wine server, the X server), and
// its row is the floor the others are read against.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "tests/win32/running_program.h"

namespace ornet5 {
namespace {

using namespace std::chrono;

constexpr milliseconds kCycle{3000};

LRESULT CALLBACK IdleWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) {
        ::PostQuitMessage(0);
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

int ServeIdleWindows() {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = IdleWindowProc;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    for (const wchar_t* name : {L"TFace", L"TTrelanADCFace"}) {
        windowClass.lpszClassName = name;
        ::RegisterClassW(&windowClass);
    }
    HWND face = ::CreateWindowW(L"TFace", test::kFaceCaption, WS_OVERLAPPED | WS_CAPTION, 0, 0, 385,
                                146, nullptr, nullptr, windowClass.hInstance, nullptr);
    ::CreateWindowW(L"TTrelanADCFace", test::kSettingsCaption, WS_OVERLAPPED, 0, 0, 343, 117,
                    nullptr, nullptr, windowClass.hInstance, nullptr);
    ::ShowWindow(face, SW_SHOW);
    MSG message{};
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        ::DispatchMessageW(&message);
    }
    return 0;
}

int Run(const char* name, seconds measured) {
    test::TRunningProgram program;
    if (program.face == nullptr) {
        std::printf("| %s | failed: no main window | | |\n", name);
        return 1;
    }
    // The start itself is not a cycle's work: the first cycle comes 3 s on.
    ::Sleep(2500);
    std::vector<duration<double, std::milli>> cycleLongest(
        static_cast<std::size_t>(measured / kCycle) + 1);
    int messages = 0;
    const auto start = steady_clock::now();
    for (auto now = start; now - start < measured; now = steady_clock::now()) {
        DWORD_PTR answer = 0;
        const auto sent = steady_clock::now();
        if (::SendMessageTimeoutW(program.face, WM_NULL, 0, 0, SMTO_NORMAL, 20000, &answer) == 0) {
            std::printf("| %s | failed: no answer to message %d | | |\n", name, messages + 1);
            return 1;
        }
        const duration<double, std::milli> waited = steady_clock::now() - sent;
        auto& longest = cycleLongest[static_cast<std::size_t>((sent - start) / kCycle)];
        longest = std::max(longest, waited);
        ++messages;
        ::Sleep(2);
    }
    std::vector<duration<double, std::milli>> sorted = cycleLongest;
    std::sort(sorted.begin(), sorted.end());
    std::printf("| %s | %d | %.1f | %.1f |\n", name, messages, sorted.back().count(),
                sorted[sorted.size() / 2].count());
    std::fflush(stdout);
    return program.Close() == 0 ? 0 : 1;
}

}  // namespace
}  // namespace ornet5

int main(int argc, char** argv) {
    if (argc == 1) {
        return ornet5::ServeIdleWindows();
    }
    if (argc != 3) {
        std::fprintf(stderr, "usage: win32_window_thread_bench CASE SECONDS\n");
        return 2;
    }
    return ornet5::Run(argv[1], std::chrono::seconds(std::max(6, std::atoi(argv[2]))));
}
