// A reply parsed as a JSON document, then read and edited by paths drawn from the input,
// and written out. Whatever the edits did, the text written out must read back as the
// same document, and a value stored as text must read back as that text.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <string>

#include "FuzzCheck.h"
#include "net/EcmaEscape.h"
#include "net/JsonDocument.h"

using vpsdesk::net::JsonDocument;

namespace {

void CheckWrittenTextReadsBack(const JsonDocument& document) {
    if (!document.HasRoot()) return;
    const std::string text = document.ToText();
    JsonDocument again;
    again.Parse(text);
    FUZZ_CHECK(again.HasRoot());
    if (again.ToText() != text) {
        std::fprintf(stderr, "written:   %s\nread back: %s\n", text.c_str(), again.ToText().c_str());
        FUZZ_CHECK(again.ToText() == text);
    }
}

// Every text inside the program is UTF-8 (replies are decoded, widgets give UTF-8), so
// paths and values are made valid first; the parser still gets the raw bytes.
std::string Utf8Text(const std::string& bytes) {
    return vpsdesk::net::Utf16ToUtf8(vpsdesk::net::Utf8ToUtf16(bytes));
}

void Read(const JsonDocument& document, const std::string& path, long long index) {
    (void)document.TypeOf(path);
    (void)document.GetText(path);
    (void)document.GetText(path, true);
    (void)document.GetJsonText(path);
    (void)document.GetNumber(path);
    (void)document.Exists(path);
    (void)document.Count(path);
    (void)document.Names(path);
    (void)document.AllValues(path, false);
    (void)document.AllValues(path, true);
    (void)document.GetObject(path).ToText();
    (void)document.ArrayGetObject(path, index).ToText();
    (void)document.ArrayGetText(path, index);
    (void)document.ArrayGetText(path, index, true);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    JsonDocument document;
    document.Parse(input.ConsumeRandomLengthString(4096));
    CheckWrittenTextReadsBack(document);

    for (int step = 0; step < 16 && input.remaining_bytes() > 0; ++step) {
        const std::string path = Utf8Text(input.ConsumeRandomLengthString(32));
        const long long index = input.ConsumeIntegralInRange<long long>(-2, 8);
        const std::string value = Utf8Text(input.ConsumeRandomLengthString(64));
        switch (input.ConsumeIntegralInRange(0, 10)) {
            case 0:
                Read(document, path, index);
                break;
            case 1:
                if (document.SetText(path, value)) {
                    FUZZ_CHECK(document.TypeOf(path) == JsonDocument::kString);
                    FUZZ_CHECK(document.GetText(path) == value);
                }
                break;
            case 2: {
                const double number = input.ConsumeFloatingPoint<double>();
                if (document.SetNumber(path, number)) {
                    FUZZ_CHECK(document.TypeOf(path) == JsonDocument::kNumber ||
                               document.TypeOf(path) == JsonDocument::kNothing);
                }
                break;
            }
            case 3:
                document.SetJson(path, value);
                break;
            case 4:
                // Member names are unique, so a deleted member is gone; an element's
                // place is taken by the next one.
                if (document.Delete(path) && !path.empty() && path.back() != ']')
                    FUZZ_CHECK(document.TypeOf(path) == JsonDocument::kNothing);
                break;
            case 5: {
                const std::size_t before =
                    document.TypeOf(path) == JsonDocument::kArray ? document.Count(path) : 0;
                if (document.ArrayAdd(path, value, input.ConsumeBool(), input.ConsumeBool()))
                    FUZZ_CHECK(document.Count(path) == before + 1);
                break;
            }
            case 6:
                document.ArraySet(path, index, value, input.ConsumeBool());
                break;
            case 7:
                document.ArrayRemove(path, index);
                break;
            case 8: {
                JsonDocument copy = document;
                FUZZ_CHECK(copy.ToText() == document.ToText());
                document = std::move(copy);
                break;
            }
            case 9: {
                std::string reply = value;
                (void)vpsdesk::net::JsonReadable(reply);
                (void)vpsdesk::net::JsonReadValue(reply, path);
                break;
            }
            default:
                document.Clear();
                break;
        }
        CheckWrittenTextReadsBack(document);
    }
    return 0;
}
