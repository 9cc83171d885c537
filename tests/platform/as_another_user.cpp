#include "as_another_user.h"

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tvx::testing {

std::optional<QString> RunAsNobody(const std::function<QString()>& Body, QString& Why) {
    if (::geteuid() != 0) {
        Why = QStringLiteral("only root can switch to the user nobody for this check");
        return std::nullopt;
    }
    int pipe[2];
    if (::pipe(pipe) != 0) {
        Why = QStringLiteral("no pipe to the child");
        return std::nullopt;
    }
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipe[0]);
        if (::setgroups(0, nullptr) != 0 || ::setresgid(kNoGroup, kNoGroup, kNoGroup) != 0 ||
            ::setresuid(kNobody, kNobody, kNobody) != 0) {
            ::_exit(3);
        }
        const QByteArray answer = Body().toUtf8();
        (void)!::write(pipe[1], answer.constData(), size_t(answer.size()));
        ::_exit(0);
    }
    ::close(pipe[1]);
    QByteArray answer;
    char buffer[4096];
    for (ssize_t n; (n = ::read(pipe[0], buffer, sizeof buffer)) > 0;) {
        answer.append(buffer, n);
    }
    ::close(pipe[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        Why = QStringLiteral("the system did not let the child become nobody");
        return std::nullopt;
    }
    return QString::fromUtf8(answer);
}

} // namespace tvx::testing
