#pragma once
// State shared by every chart window that decides what the code generator
// writes. The main window, the options dialog and the export commands set it
// before a run; it must not change while a run is in progress.
#include <cstdint>

namespace tvx {

// Target language of generated code.
enum TExportLanguage : std::int32_t { elPascal = 0, elCpp = 1, elBasic = 2 };

// Plain and preview give the same text; annotated adds the kind suffix of the
// statement blocks to Pascal lines.
enum TExportMode : std::uint8_t { emPlain = 0, emPreview = 1, emAnnotated = 2 };

// Any value outside elPascal..elBasic makes the generator write nothing (the
// options dialog gives -1 when no language is chosen).
extern std::int32_t ExportLanguage;
extern std::uint8_t ExportMode;

// The text clean-up switch: while on, every line break of a block text becomes
// a blank and runs of blanks are collapsed, so each statement is one line.
// On from the start, as the options dialog's check box is.
extern bool TextCleanUp;

} // namespace tvx
