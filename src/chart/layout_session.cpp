#include "chart/layout_session.h"
#include "platform/text_metrics.h"
#include "settings/main_settings.h"

namespace tvx {

namespace {

TLayoutSession* CurrentSession = nullptr;

} // namespace

TLayoutSession::TLayoutSession() : FPrevious(CurrentSession) {
    if (MainSettings != nullptr) {
        FFont = MainSettings->FontBlock;
        FPixelFormat = MainSettings->PixelFormat;
        FYes = MainSettings->ServPool->GetString(QStringLiteral("sm_yes"));
        FNo = MainSettings->ServPool->GetString(QStringLiteral("sm_no"));
    }
    FMetrics = &CurrentTextMetrics();
    CurrentSession = this;
}

TLayoutSession::~TLayoutSession() {
    CurrentSession = FPrevious;
}

TLayoutSession* TLayoutSession::Current() {
    return CurrentSession;
}

bool TLayoutSession::SameConditions() const {
    return MainSettings != nullptr && FMetrics == &CurrentTextMetrics() &&
           FPixelFormat == MainSettings->PixelFormat && FFont == MainSettings->FontBlock &&
           FYes == MainSettings->ServPool->GetString(QStringLiteral("sm_yes")) &&
           FNo == MainSettings->ServPool->GetString(QStringLiteral("sm_no"));
}

const TBitmap* TLayoutSession::FindText(const QString& Text) const {
    auto It = FTexts.constFind(Text);
    if (It == FTexts.constEnd() || !SameConditions()) {
        return nullptr;
    }
    return It->get();
}

void TLayoutSession::KeepText(const QString& Text, const TBitmap& Picture) {
    if (!SameConditions()) {
        return;
    }
    auto Copy = std::make_shared<TBitmap>();
    Copy->Assign(Picture);
    FTexts.insert(Text, std::move(Copy));
}

} // namespace tvx
