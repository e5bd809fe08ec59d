// Reading and writing rich text: a hymn must open without a visible wait, and a long passage
// (a whole book exported as .rtf) in well under a second.

#include "common/rtf/rtfreader.h"
#include "common/rtf/rtfwriter.h"

#include <benchmark/benchmark.h>

using namespace lumora::common::rtf;

namespace {

// `verses` paragraphs shaped like an exported passage: a bold verse number, then the text with
// accented letters and a few non-cp1252 characters.
Document passage(int verses) {
    Document doc;
    for (int k = 1; k <= verses; ++k) {
        Paragraph para;
        para.alignment = k % 10 == 0 ? Alignment::Centre : Alignment::Justify;
        para.runs.push_back({QString::number(k) + QLatin1Char(' '),
                             {"Arial", 11, true, false, false, Colour{128, 0, 0}, {}}});
        para.runs.push_back({QString::fromUtf8("Fa tamin’ ny voalohany no nahariana ny lanitra sy ny tany — "
                                               "à l’origine, Dieu créa les cieux et la terre ΑΩ."),
                             {"Times New Roman", 12, false, k % 3 == 0, false, {}, {}}});
        doc.paragraphs.push_back(std::move(para));
    }
    return doc;
}

void BM_readRtf(benchmark::State& state) {
    const QByteArray rtf = writeRtf(passage(static_cast<int>(state.range(0))));
    for (auto _ : state)
        benchmark::DoNotOptimize(readRtf(rtf));
    state.SetBytesProcessed(state.iterations() * rtf.size());
}
BENCHMARK(BM_readRtf)->Arg(30)->Arg(3000);

void BM_writeRtf(benchmark::State& state) {
    const Document doc = passage(static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(writeRtf(doc));
}
BENCHMARK(BM_writeRtf)->Arg(30)->Arg(3000);

} // namespace

BENCHMARK_MAIN();
