// The command line answers the core's questions by their id: --propose says
// Yes to the proposal question, and an export always replaces existing
// files; nothing else is answered Yes, whatever a question's text.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "cli/CliUi.h"

namespace belvaron {
namespace {

struct QuestionCase {
    QuestionId id;
    bool propose;
    bool expectedYes;
};

class CliQuestionTest : public ::testing::TestWithParam<QuestionCase> {};

TEST_P(CliQuestionTest, AnswersByIdAndPrintsTheText) {
    const QuestionCase c = GetParam();
    cli::CliOptions options;
    options.propose = c.propose;
    std::FILE* err = std::tmpfile();
    cli::CliUi ui(options, err);
    // The same text for every id: the answer must not depend on it.
    EXPECT_EQ(ui.Ask(c.id, "Frage?", MessageIcon::None), c.expectedYes);
    std::rewind(err);
    std::string printed;
    for (int ch; (ch = std::fgetc(err)) != EOF;) printed += static_cast<char>(ch);
    EXPECT_EQ(printed, "Frage?\n\n");
    std::fclose(err);
}

INSTANTIATE_TEST_SUITE_P(
    Ids, CliQuestionTest,
    ::testing::Values(QuestionCase{QuestionId::ProposeReplaceEntries, true, true},
                      QuestionCase{QuestionId::ProposeReplaceEntries, false, false},
                      QuestionCase{QuestionId::SaveReplaceList, true, false},
                      QuestionCase{QuestionId::ClearReplaceList, true, false},
                      QuestionCase{QuestionId::QuitProgram, true, false},
                      QuestionCase{QuestionId::QuitForInstaller, true, false},
                      QuestionCase{QuestionId::QuitWithUnexportedWork, true, false},
                      QuestionCase{QuestionId::ReloadJournal, true, false},
                      QuestionCase{QuestionId::ReplaceAgain, true, false},
                      QuestionCase{QuestionId::OverwriteExport, false, true}));

}  // namespace
}  // namespace belvaron
