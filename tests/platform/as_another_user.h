#pragma once
// Runs a piece of a test in a child process as the unprivileged user
// "nobody": root passes every permission check, so what the system refuses a
// user can only be seen that way. The child's answer comes back as text.
#include <QString>
#include <functional>
#include <optional>
#include <sys/types.h>

namespace tvx::testing {

constexpr uid_t kNobody = 65534;
constexpr gid_t kNoGroup = 65534;

// Body's result as run by "nobody"; empty with Why set when this process
// cannot switch users (it is not root).
std::optional<QString> RunAsNobody(const std::function<QString()>& Body, QString& Why);

} // namespace tvx::testing
