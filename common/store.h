// The command store: the Commands key. Count, Active, and for N commands the
// phrases ("0".."N-1", UTF-16), the byte code ("N".."2N-1") and the
// descriptions ("2N".."3N-1", ANSI), in list order, which is store index order.
#pragma once
#include "locale.h"
#include "registry.h"

#include <cstdint>
#include <string>
#include <vector>

// One command as the configuration window holds it.
struct StoredCommand {
    bool enabled = true;
    std::string phrase;       // ANSI
    std::string description;  // ANSI
    std::vector<uint8_t> code;
};

// One store index as the engine loads it. Disabled commands keep their
// index but carry nothing.
struct EngineCommand {
    bool enabled = false;
    bool hasPhrase = false;
    std::u16string phrase;  // up to the first zero code unit
    std::vector<uint8_t> code;
};

bool StoreExists(Registry& reg);

// The engine's reader: every store index, with phrase and byte code read only
// for enabled commands. A hostile store loads what can be loaded: Active
// shorter than Count disables the rest, a missing phrase leaves the command
// unregistered, missing byte code runs as an empty program, and no more
// indices are visited than the key has values.
std::vector<EngineCommand> LoadEngineCommands(Registry& reg);

// The configuration window's reader: every command, enabled or not, with its
// phrase turned into ANSI text. Missing values read as empty.
std::vector<StoredCommand> LoadStoredCommands(Registry& reg, const Locale& locale);

// The only writer: deletes the Commands key, creates it again and writes the
// numbered values, then Active, then Count.
void WriteStore(Registry& reg, const Locale& locale, const std::vector<StoredCommand>& commands);

// A phrase as stored: the ANSI text with its zero converted to UTF-16, in
// 2L + 2 bytes for L ANSI bytes.
std::vector<uint8_t> PhraseValue(const std::string& phrase, const Locale& locale);
