#include "chart/libxml_init.h"

#include <libxml/parser.h>
#include <libxml/xmlerror.h>

namespace tvx {
namespace {

// Problems in a file end in the program's own message; libxml2 must not
// print its diagnostics on the console as well.
void IgnoreLibxmlError(void*, const char*, ...) {}
void IgnoreStructuredError(void*, xmlErrorPtr) {}

} // namespace

void EnsureLibxmlReady() {
    static const bool ready = [] {
        xmlInitParser();
        xmlSetGenericErrorFunc(nullptr, IgnoreLibxmlError);
        xmlSetStructuredErrorFunc(nullptr, IgnoreStructuredError);
        return true;
    }();
    (void)ready;
}

} // namespace tvx
