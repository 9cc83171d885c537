// Legacy binary chart files: any bytes are read or refused, never crash, hang
// or grow without bound; a chart that was read encodes to records that read
// back the same.
#include "app/legacy_chart_file.h"
#include "chart/fc_list.h"
#include "fuzz_input.h"

using namespace tvx;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    TFCList chart;
    if (!DecodeLegacyChart(fuzz::Bytes(Data, Size), chart).isEmpty()) {
        return 0;
    }
    const QByteArray saved = EncodeLegacyChart(chart);
    TFCList copy;
    fuzz::Expect(DecodeLegacyChart(saved, copy).isEmpty(),
                 "a chart that was read encodes readably");
    fuzz::Expect(EncodeLegacyChart(copy) == saved, "encoded records read back the same");
    return 0;
}
