// Chart files: any bytes are read or refused, never crash, hang or grow
// without bound; a chart that was read saves to a file that reads back the same.
#include "chart/chart_xml.h"
#include "chart/fc_list.h"
#include "fuzz_input.h"

using namespace tvx;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    std::optional<TChartBlocks> read = ReadChartXml(fuzz::Bytes(Data, Size));
    if (!read) {
        return 0;
    }
    TFCList chart;
    InstallChartBlocks(chart, std::move(*read));
    const QByteArray saved = ChartToXml(chart);
    std::optional<TChartBlocks> again = ReadChartXml(saved);
    fuzz::Expect(again.has_value(), "a chart that was read saves to a readable file");
    TFCList copy;
    InstallChartBlocks(copy, std::move(*again));
    fuzz::Expect(ChartToXml(copy) == saved, "a saved chart reads back the same");
    return 0;
}
