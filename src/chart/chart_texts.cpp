#include "chart/chart_texts.h"
#include "chart/fc_list.h"
#include "chart/layout_session.h"
#include "chart/loop_closing_text.h"
#include "platform/bitmap.h"
#include "platform/text_metrics.h"
#include "settings/main_settings.h"
#include <QHash>
#include <QSemaphore>
#include <QSet>
#include <QThreadPool>
#include <algorithm>
#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

namespace tvx {

namespace {

// Below this many texts the threads cost more than they save.
constexpr size_t kTextsWorthThreads = 48;

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

} // namespace

struct TTextsAhead::TJob {
    enum : std::uint8_t { kFree, kTaken, kDone };

    std::vector<QString> Texts;
    QHash<QString, size_t> Index; // read by the owner's thread only
    std::unique_ptr<std::atomic<std::uint8_t>[]> States;
    std::vector<std::shared_ptr<const TBitmap>> Pictures;
    std::vector<bool> Kept; // owner's thread only
    QString Yes;
    QString No;
    std::atomic<size_t> Next{0};
    std::atomic<bool> Stop{false};
    QSemaphore HelpersDone;

    // Renders text I when nobody has taken it yet.
    bool Claim(size_t I) {
        std::uint8_t Expected = kFree;
        if (!States[I].compare_exchange_strong(Expected, kTaken)) {
            return false;
        }
        try {
            auto Picture = std::make_shared<TBitmap>();
            DrawTextPicture(*Picture, Texts[I], Yes, No);
            Pictures[I] = std::move(Picture);
        } catch (...) {
            // Left to the pass, which renders it again and reports.
        }
        States[I].store(kDone, std::memory_order_release);
        States[I].notify_all();
        return true;
    }

    // A helper thread: the next texts in order, until none is left or the
    // owner stops.
    void Help() {
        while (!Stop.load(std::memory_order_relaxed)) {
            const size_t I = Next.fetch_add(1);
            if (I >= Texts.size()) {
                return;
            }
            Claim(I);
        }
    }
};

namespace {

TTextsAhead* Alive = nullptr;

} // namespace

TTextsAhead::TTextsAhead(const TFCList& Chart) : FOuter(Alive) {
    TLayoutSession* Session = TLayoutSession::Current();
    if (Session == nullptr || MainSettings == nullptr) {
        return;
    }
    std::vector<QString> Missing = MissingTexts(Chart, *Session);
    // The pass goes on on this thread meanwhile.
    const int Threads = std::min<int>(QThreadPool::globalInstance()->maxThreadCount() - 1,
                                      int(Missing.size() / kTextsWorthThreads));
    if (Threads < 1) {
        return; // the pass renders them as it goes
    }
    FJob = std::make_shared<TJob>();
    TJob& Job = *FJob;
    Job.Texts = std::move(Missing);
    const size_t Count = Job.Texts.size();
    Job.Index.reserve(qsizetype(Count));
    for (size_t I = 0; I < Count; ++I) {
        Job.Index.insert(Job.Texts[I], I);
    }
    Job.States = std::make_unique<std::atomic<std::uint8_t>[]>(Count);
    for (size_t I = 0; I < Count; ++I) {
        Job.States[I].store(TJob::kFree, std::memory_order_relaxed);
    }
    Job.Pictures.resize(Count);
    Job.Kept.assign(Count, false);
    Job.Yes = Session->ServText("sm_yes");
    Job.No = Session->ServText("sm_no");
    const TTextMetrics& Metrics = CurrentTextMetrics();
    for (int I = 0; I < Threads; ++I) {
        std::shared_ptr<TJob> Shared = FJob;
        const bool Started = QThreadPool::globalInstance()->tryStart([Shared, &Metrics] {
            {
                TThreadTextMetrics Own(Metrics);
                Shared->Help();
            }
            Shared->HelpersDone.release();
        });
        FHelpers += Started ? 1 : 0;
    }
    Alive = this;
}

TTextsAhead::~TTextsAhead() {
    if (FJob == nullptr) {
        return;
    }
    Alive = FOuter;
    FJob->Stop.store(true);
    FJob->HelpersDone.acquire(FHelpers);
    // What was rendered and not yet asked for is kept for the next passes.
    if (TLayoutSession* Session = TLayoutSession::Current()) {
        for (size_t I = 0; I < FJob->Texts.size(); ++I) {
            if (!FJob->Kept[I] && FJob->States[I].load(std::memory_order_acquire) == TJob::kDone &&
                FJob->Pictures[I] != nullptr) {
                Session->KeepText(FJob->Texts[I], FJob->Pictures[I]);
            }
        }
    }
}

TTextsAhead* TTextsAhead::Current() {
    return Alive;
}

std::shared_ptr<const TBitmap> TTextsAhead::Take(const QString& Text) {
    if (FJob == nullptr) {
        return nullptr;
    }
    TJob& Job = *FJob;
    const auto Found = Job.Index.constFind(Text);
    if (Found == Job.Index.constEnd()) {
        return nullptr;
    }
    const size_t I = *Found;
    if (!Job.Claim(I)) {
        while (Job.States[I].load(std::memory_order_acquire) != TJob::kDone) {
            Job.States[I].wait(TJob::kTaken, std::memory_order_acquire);
        }
    }
    Job.Kept[I] = true;
    return Job.Pictures[I];
}

} // namespace tvx
