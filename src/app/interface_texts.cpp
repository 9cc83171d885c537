#include "app/interface_texts.h"
#include "platform/exception.h"
#include "platform/file_identity.h"
#include "platform/prompts.h"
#include "settings/main_settings.h"
#include "settings/string_pool.h"
#include <new>

namespace tvx {

QString ServText(const char* Id) {
    return MainSettings != nullptr ? MainSettings->ServPool->GetString(QString::fromLatin1(Id))
                                   : QString();
}

QString MenuText(const char* Id) {
    return MainSettings != nullptr ? MainSettings->MenuPool->GetString(QString::fromLatin1(Id))
                                   : QString();
}

bool MayReplace(const QStringList& FileNames) {
    QStringList existing;
    for (const QString& name : FileNames) {
        const TFilePresence presence = PresenceOf(name);
        if (presence.State == TPresence::Refused) {
            Prompts().ShowMessage(name + QStringLiteral(": ") + presence.Reason);
            return false;
        }
        if (presence.State == TPresence::Present) {
            existing.append(name);
        }
    }
    return existing.isEmpty() || AskReplace(existing);
}

QString FailureMessage(const std::exception& e) {
    if (dynamic_cast<const std::bad_alloc*>(&e) != nullptr) {
        return MenuText("sm_mes_no_memory");
    }
    const auto* own = dynamic_cast<const Exception*>(&e);
    return own != nullptr ? own->message() : QString::fromUtf8(e.what());
}

QString ReplaceQuestion(const QString& FileName) {
    return MenuText("sm_mes_file_exist1") + u' ' + FileName + QStringLiteral("\r\n") +
           MenuText("sm_mes_file_exist2");
}

bool AskReplace(const QString& FileName) {
    return AskReplace(QStringList{FileName});
}

bool AskReplace(const QStringList& FileNames) {
    constexpr qsizetype MaxNamed = 10;
    QStringList named = FileNames.mid(0, MaxNamed);
    if (FileNames.size() > MaxNamed) {
        named.append(QStringLiteral("..."));
    }
    return Prompts().AskYesNo(ReplaceQuestion(named.join(QStringLiteral("\r\n"))));
}

} // namespace tvx
