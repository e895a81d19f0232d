#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include "core/base/ErrnoText.h"

namespace belvaron {
namespace {

#ifdef EDQUOT
constexpr int kQuotaExceeded = EDQUOT;
#else
constexpr int kQuotaExceeded = ENOSPC;  // Windows knows no quotas in errno
#endif

struct Case {
    int error;
    ReasonForm form;
    const char* text;
};

class ErrnoTextTest : public ::testing::TestWithParam<Case> {};

TEST_P(ErrnoTextTest, WordsTheReason) {
    EXPECT_EQ(ErrnoReason(GetParam().error, GetParam().form), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ErrnoTextTest,
    ::testing::Values(Case{ENOENT, ReasonForm::Phrase, "Ordner nicht gefunden"},
                      Case{ENOENT, ReasonForm::Sentence, "Der Ordner existiert nicht mehr."},
                      Case{ENOTDIR, ReasonForm::Phrase, "Ordner nicht gefunden"},
                      Case{EPERM, ReasonForm::Phrase, "keine Schreibberechtigung"},
                      Case{kQuotaExceeded, ReasonForm::Sentence, "Der Datenträger ist voll."},
                      Case{EROFS, ReasonForm::Phrase, "Datenträger ist schreibgeschützt"},
                      Case{EFBIG, ReasonForm::Sentence,
                           "Die Datei wird zu groß für den Datenträger."},
                      // Codes without a worded reason in this form.
                      Case{EFBIG, ReasonForm::Phrase, "Systemfehler 27"},
                      Case{EIO, ReasonForm::Phrase, "Systemfehler 5"}));

TEST(ErrnoText, OtherCodesNameTheNumberAndTheSystemText) {
    EXPECT_EQ(ErrnoReason(EMFILE, ReasonForm::Sentence),
              "Systemfehler 24 (" + std::string(std::strerror(EMFILE)) + ").");
    EXPECT_EQ(ErrnoReason(ENOTDIR, ReasonForm::Sentence),
              "Systemfehler 20 (" + std::string(std::strerror(ENOTDIR)) + ").");
}

}  // namespace
}  // namespace belvaron
