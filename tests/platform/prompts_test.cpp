#include "platform/recording_prompts.h"
#include <gtest/gtest.h>

using namespace tvx;

TEST(Prompts, RecorderAnswersFromItsScriptThenDeclines) {
    TRecordingPromptsScope prompts;
    prompts.QueueAnswer(true);
    prompts.QueueFileName(QStringLiteral("/tmp/a.fml"), 2);
    TFont chosen;
    chosen.Name = QStringLiteral("Arial");
    prompts.QueueFont(chosen);

    Prompts().ShowMessage(QStringLiteral("hello"));
    EXPECT_TRUE(Prompts().AskYesNo(QStringLiteral("first?")));
    EXPECT_FALSE(Prompts().AskYesNo(QStringLiteral("second?")));

    TFileDialogRequest request{QStringLiteral("Open"), QStringLiteral("A|*.a|B|*.b"),
                               QStringLiteral("/tmp"), QString(), 1};
    TFileDialogResult first = Prompts().OpenFileDialog(request);
    EXPECT_EQ(first.FileName, QStringLiteral("/tmp/a.fml"));
    EXPECT_EQ(first.FilterIndex, 2);
    EXPECT_FALSE(Prompts().SaveFileDialog(request).Accepted());

    TFont font;
    EXPECT_TRUE(Prompts().FontDialog(font));
    EXPECT_EQ(font.Name, QStringLiteral("Arial"));
    EXPECT_FALSE(Prompts().FontDialog(font));
    EXPECT_EQ(font.Name, QStringLiteral("Arial"));

    EXPECT_EQ(prompts.Messages(), QStringList{QStringLiteral("hello")});
    EXPECT_EQ(prompts.Questions(),
              (QStringList{QStringLiteral("first?"), QStringLiteral("second?")}));
    ASSERT_EQ(prompts.Records().size(), 7);
    EXPECT_EQ(prompts.Records()[3].Kind, TPromptKind::OpenFile);
    EXPECT_EQ(prompts.Records()[3].Request.InitialDir, QStringLiteral("/tmp"));
    EXPECT_EQ(prompts.Records()[4].Kind, TPromptKind::SaveFile);
}

TEST(Prompts, ScopesNestAndRestoreTheConsoleDefault) {
    TPrompts* outside = &Prompts();
    EXPECT_NE(dynamic_cast<TConsolePrompts*>(outside), nullptr);
    {
        TRecordingPromptsScope outer;
        {
            TRecordingPromptsScope inner;
            Prompts().ShowMessage(QStringLiteral("x"));
            EXPECT_EQ(inner.Messages().size(), 1);
        }
        EXPECT_EQ(&Prompts(), &outer);
        EXPECT_TRUE(outer.Messages().isEmpty());
    }
    EXPECT_EQ(&Prompts(), outside);
    EXPECT_FALSE(Prompts().AskYesNo(QStringLiteral("default answers no")));
}
