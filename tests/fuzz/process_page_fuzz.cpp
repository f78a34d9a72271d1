// The shipped processing script on any page, as the newspaper (plain keys)
// and as the magazine ("CT" keys), each with a processor of its own so one
// input's failure does not switch processing off for the next. A page either
// comes out processed without a word, or the script's failure is reported
// once and the pages after it pass through untouched.
#include "processing/process_page.h"
#include "tests/fuzz/fuzz_check.h"

#include <cstdint>

namespace {

class CountingMessenger : public Messenger {
public:
    MessageAnswer Show(const QString&, const QString&, MessageIcon, MessageButtons) override {
        ++shown;
        return MessageAnswer::Ok;
    }
    int shown = 0;
};

const QString ShippedScript = QStringLiteral(NORVEL_SOURCE_DIR "/data/script.txt");

void process(const ByteText& page, int16_t source) {
    CountingMessenger messenger;
    PageProcessor processor(messenger);
    (void)processor.ProcessPage(page, source, ShippedScript);
    FUZZ_CHECK(messenger.shown == (processor.ScriptFailed() ? 1 : 0));
    if (processor.ScriptFailed()) {
        FUZZ_CHECK(processor.ProcessPage(page, source, ShippedScript) == page);
        FUZZ_CHECK(messenger.shown == 1);
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Without the script every page would pass through and nothing be tried.
    CountingMessenger messenger;
    PageProcessor probe(messenger);
    FUZZ_CHECK(probe.ProcessPage("<body>", 1, ShippedScript) != "<body>");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const ByteText page(reinterpret_cast<const char*>(data), qsizetype(size));
    process(page, 1);
    process(page, 2);
    return 0;
}
