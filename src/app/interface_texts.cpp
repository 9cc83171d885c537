#include "app/interface_texts.h"
#include "platform/prompts.h"
#include "settings/main_settings.h"
#include "settings/string_pool.h"

namespace tvx {

QString ServText(const char* Id) {
    return MainSettings != nullptr ? MainSettings->ServPool->GetString(QString::fromLatin1(Id))
                                   : QString();
}

QString MenuText(const char* Id) {
    return MainSettings != nullptr ? MainSettings->MenuPool->GetString(QString::fromLatin1(Id))
                                   : QString();
}

bool AskReplace(const QString& FileName) {
    return Prompts().AskYesNo(MenuText("sm_mes_file_exist1") + u' ' + FileName +
                              QStringLiteral("\r\n") + MenuText("sm_mes_file_exist2"));
}

} // namespace tvx
