#include "command.h"

// Being written: the compiler and the regenerator.
TCommand::TCommand(const std::vector<std::string>& lines, const Locale& locale)
    : Lines(lines), Code{}, locale_(locale) {}
TCommand::TCommand(const uint8_t* code, size_t length, const Locale& locale)
    : Code{}, locale_(locale) { Regenerate(code, length); }
size_t TCommand::Compile() { return 0; }
void TCommand::Regenerate(const uint8_t*, size_t) {}
std::string WordOf(const std::string&, size_t) { return {}; }
