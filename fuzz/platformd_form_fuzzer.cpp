// The platform's reading of what a client sends: form bodies with and without named
// fields, escaped real-name text, and the checks on what customers type.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <string>
#include <vector>

#include "FormBody.h"
#include "FuzzCheck.h"
#include "Rules.h"
#include "Text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    std::vector<std::string> names;
    const int field_count = input.ConsumeIntegralInRange(0, 5);
    for (int i = 0; i < field_count; ++i) names.push_back(input.ConsumeRandomLengthString(12));
    const std::string body = input.ConsumeRemainingBytesAsString();

    const std::vector<std::string_view> fields(names.begin(), names.end());
    const platformd::FormBody form(body, fields);
    // A readable form holds each named field at most once and nothing else.
    if (!fields.empty()) {
        FUZZ_CHECK(form.Readable() || form.Pairs().empty());
        FUZZ_CHECK(form.Pairs().size() <= fields.size());
    }
    for (const auto& [name, value] : form.Pairs()) {
        FUZZ_CHECK(form.Has(name));
        if (!fields.empty()) {
            FUZZ_CHECK(std::find(fields.begin(), fields.end(), name) != fields.end());
        }
        (void)form.Raw(name);
        (void)form.Get(name);
        (void)platformd::ReadInteger(value);
        (void)platformd::UnescapeScriptText(value);
    }
    for (std::string_view name : fields) (void)form.Get(name);

    // Money the platform accepts is above zero and writes back as it was read.
    std::int64_t cents = 0;
    if (platformd::ParseMoney(body, cents)) {
        FUZZ_CHECK(cents > 0);
        std::int64_t again = 0;
        FUZZ_CHECK(platformd::ParseMoney(platformd::FormatMoney(cents), again) && again == cents);
    }
    (void)platformd::IsMobileNumber(body);
    (void)platformd::IsPasswordFormat(body);
    (void)platformd::HasDigitRun(body);
    (void)platformd::IsIdNumber(body);
    const platformd::FormBody loose(body);
    (void)loose.Pairs();

    (void)platformd::UnescapeScriptText(body);
    (void)platformd::DecodeFormText(body);
    (void)platformd::ReadInteger(body);
    (void)platformd::SplitText(body, "&");
    return 0;
}
