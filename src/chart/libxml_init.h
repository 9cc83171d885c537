#pragma once
// libxml2 is set up once, before the first chart file is read or written.

namespace tvx {

void EnsureLibxmlReady();

} // namespace tvx
