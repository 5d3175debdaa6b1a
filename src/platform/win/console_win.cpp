#include <io.h>
#include <windows.h>

#include <atomic>

#include "platform/console.h"
#include "platform/win/wide_text.h"

namespace qelto::platform {
namespace {

DWORD gSavedMode = 0;
std::atomic<bool> gEchoIsOff{false};

}  // namespace

bool isTerminal(std::FILE* stream) {
    return ::_isatty(::_fileno(stream)) != 0;
}

EchoOff::EchoOff() {
    const HANDLE input = ::GetStdHandle(STD_INPUT_HANDLE);
    if (::GetConsoleMode(input, &gSavedMode) == 0) {
        return;
    }
    gEchoIsOff.store(true);
    active_ = ::SetConsoleMode(input, gSavedMode & ~static_cast<DWORD>(ENABLE_ECHO_INPUT)) != 0;
    if (!active_) {
        gEchoIsOff.store(false);
    }
}

EchoOff::~EchoOff() {
    if (active_) {
        gEchoIsOff.store(false);
        ::SetConsoleMode(::GetStdHandle(STD_INPUT_HANDLE), gSavedMode);
    }
}

void restoreEchoNow() {
    if (gEchoIsOff.exchange(false)) {
        ::SetConsoleMode(::GetStdHandle(STD_INPUT_HANDLE), gSavedMode);
        std::fputc('\n', stderr);
    }
}

}  // namespace qelto::platform
