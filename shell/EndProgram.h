#pragma once
// Ending the program at once: no further events, no unload of other windows,
// even from inside a waiting exchange or a monitoring pass.
#include <functional>

namespace talvo::shell {

// Ends the program. By default it flushes the output streams and exits at once.
void EndProgram();
// Replaces what EndProgram does (tests record the call); an empty function
// restores the default.
void setEndProgram(std::function<void()> end);

}  // namespace talvo::shell
