#pragma once
// A running editor for one test: settings and program directory in a fresh
// temporary directory, recorded prompts, fixed text metrics, and the main
// window shown on the offscreen platform.
#include "app/main_form.h"
#include "app/mdi_child.h"
#include "chart/fc_list.h"
#include "platform/recording_prompts.h"
#include "platform/text_metrics.h"
#include "settings/main_settings.h"

#include <QApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

class AppTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Makes the main window with the given command-line arguments (argument
    // 0, the program, is added) and shows it.
    void StartEditor(const QStringList& Arguments = {});
    // Closes the main window as the user would and runs pending deletions.
    void CloseEditor();

    tvx::TMainForm& Form() { return *FormPtr; }
    tvx::TMDIChild* Active() { return FormPtr->ActiveMDIChild(); }
    QString Dir() const { return ProgramDirectory.path() + u'/'; }
    // A file in the test's directory.
    QString PathOf(const QString& Name) const { return Dir() + Name; }

    // Adds a block of Kind after the last block of the root chain (or as its
    // head) of the active chart and runs the after-edit action, as an edit
    // in the chart window does.
    tvx::TFlowBlock* Edit(tvx::TBlockKind Kind = tvx::bkProcess, const QString& Text = {});
    // Writes a chart file holding a root and the given number of process
    // blocks, through a chart of its own.
    void WriteChartFile(const QString& FileName, int Blocks, const QString& RootText = "start");
    // Runs posted events, deferred deletions included.
    static void Settle();

    QTemporaryDir ProgramDirectory;
    std::unique_ptr<tvx::TRecordingPromptsScope> Prompts;
    std::unique_ptr<tvx::TTextMetricsGuard> Metrics;
    std::unique_ptr<tvx::TMainSettings> Settings;
    std::unique_ptr<tvx::TMainForm> FormPtr;
};
