// The settings file reader, and the dialog's accept and read-back round
// trip: what the dialog accepts is written, read back and shown the same.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/datev/DatevDialogModel.h"
#include "core/datev/DatevSettingsFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    using namespace belvaron;
    DatevSettings settings =
        ParseSettingsFile(std::string_view(reinterpret_cast<const char*>(data), size));
    DatevRange range{"01.01.2024", "31.12.2024"};
    DatevDialogModel model(settings, range);
    const DatevDialogFields shown = model.Initial();
    if (model.Accept(shown)) return 0;  // refused: nothing stored
    DatevSettings reread = ParseSettingsFile(FormatSettingsFile(settings));
    DatevRange range2 = range;
    DatevDialogModel again(reread, range2);
    const DatevDialogFields back = again.Initial();
    if (back.beraternummer != shown.beraternummer ||
        back.mandantennummer != shown.mandantennummer || back.beratername != shown.beratername ||
        back.passwort != shown.passwort) {
        std::abort();
    }
    return 0;
}
