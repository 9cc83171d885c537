#include "chart/chart_texts.h"
#include "chart/fc_list.h"
#include "chart/layout_session.h"
#include "chart/loop_closing_text.h"
#include "platform/bitmap.h"
#include "platform/text_metrics.h"
#include "settings/main_settings.h"
#include <QSemaphore>
#include <QSet>
#include <QThreadPool>
#include <algorithm>
#include <atomic>
#include <memory>
#include <vector>

namespace tvx {

namespace {

// Below this many texts the threads cost more than they save.
constexpr size_t kTextsWorthThreads = 48;
// Texts a thread takes at a time.
constexpr size_t kTextsPerTake = 16;

// The texts the passes over Chart render that Session does not hold, each
// once, in list order.
std::vector<QString> MissingTexts(const TFCList& Chart, TLayoutSession& Session) {
    std::vector<QString> Texts;
    QSet<QString> Seen;
    auto Add = [&](const QString& Text) {
        if (Session.FindText(Text) == nullptr && !Seen.contains(Text)) {
            Seen.insert(Text);
            Texts.push_back(Text);
        }
    };
    for (const char* Id : {"sm_start", "sm_finish", "sm_yes", "sm_no"}) {
        Add(Session.ServText(Id));
    }
    for (const TFlowBlock* Block : Chart.GetList()) {
        Add(Block->Text);
        if (Block->Kind == bkCase) {
            for (const TPropertyItems& Item : Block->Items) {
                Add(Item.Text);
            }
        } else if (Block->Kind == bkFor) {
            Add(LoopClosingText(Block->Text, MainSettings->EndFor));
        }
    }
    return Texts;
}

// Texts rendered by several threads: each takes the next few texts not yet
// taken, until none is left.
class TTextRendering {
public:
    TTextRendering(std::vector<QString> Texts, QString Yes, QString No)
        : FTexts(std::move(Texts)), FPictures(FTexts.size()), FYes(std::move(Yes)),
          FNo(std::move(No)) {}

    void Work() {
        for (;;) {
            const size_t First = FNext.fetch_add(kTextsPerTake);
            if (First >= FTexts.size()) {
                return;
            }
            const size_t Last = std::min(First + kTextsPerTake, FTexts.size());
            for (size_t I = First; I < Last; ++I) {
                try {
                    auto Picture = std::make_shared<TBitmap>();
                    DrawTextPicture(*Picture, FTexts[I], FYes, FNo);
                    FPictures[I] = std::move(Picture);
                } catch (...) {
                    // Left to the pass, which renders it again and reports.
                }
            }
        }
    }

    const std::vector<QString>& Texts() const { return FTexts; }
    const std::vector<std::shared_ptr<const TBitmap>>& Pictures() const { return FPictures; }

private:
    const std::vector<QString> FTexts;
    std::vector<std::shared_ptr<const TBitmap>> FPictures;
    const QString FYes;
    const QString FNo;
    std::atomic<size_t> FNext{0};
};

} // namespace

void RenderChartTexts(const TFCList& Chart) {
    TLayoutSession* Session = TLayoutSession::Current();
    if (Session == nullptr || MainSettings == nullptr) {
        return;
    }
    std::vector<QString> Missing = MissingTexts(Chart, *Session);
    // More than the session keeps would push out texts the pass needs.
    Missing.resize(std::min(Missing.size(), TLayoutSession::kTextsKept / 2));
    const int Threads = std::min<int>(QThreadPool::globalInstance()->maxThreadCount(),
                                      int(Missing.size() / kTextsWorthThreads));
    if (Threads < 2) {
        return; // the pass renders them as it goes
    }
    TTextRendering Rendering(std::move(Missing), Session->ServText("sm_yes"),
                             Session->ServText("sm_no"));
    const TTextMetrics& Metrics = CurrentTextMetrics();
    QSemaphore Done;
    int Helpers = 0;
    for (int I = 1; I < Threads; ++I) {
        const bool Started = QThreadPool::globalInstance()->tryStart([&] {
            {
                TThreadTextMetrics Own(Metrics);
                Rendering.Work();
            }
            Done.release();
        });
        Helpers += Started ? 1 : 0;
    }
    Rendering.Work();
    Done.acquire(Helpers);
    for (size_t I = 0; I < Rendering.Texts().size(); ++I) {
        if (Rendering.Pictures()[I] != nullptr) {
            Session->KeepText(Rendering.Texts()[I], Rendering.Pictures()[I]);
        }
    }
}

} // namespace tvx
