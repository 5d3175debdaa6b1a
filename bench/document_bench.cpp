// Opening and saving a format-9 document: in memory (the parse and the layout alone) and through
// the file system (read, atomic write with fsync, rename), so the two can be compared in one run.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "model/qelto_doc.h"

namespace {

using namespace qelto::model;

// A document with every program in use, names and comments, like a busy laundry's.
void fillDocument(CQeltoDoc& doc) {
    doc.onNewDocument();
    CProgData& c = doc.config();
    for (std::uint8_t p = 0; p < kPrograms; ++p) {
        c.progName[p] = "Program " + std::to_string(p + 1);
        for (std::uint8_t t = 0; t < kTriggers; ++t) {
            for (std::uint8_t k = 0; k < kPumps; ++k) {
                c.Step(p, t, k) = {{1, 2, 0}, {0, 5, 0}, 100u + k};
                c.pumpEnabledAt(p, t, k) = static_cast<std::uint8_t>((p + t + k) % 2);
            }
        }
    }
    c.comments.assign(2000, 'c');
}

// A fresh folder per benchmark run, removed when the run ends.
struct BenchFolder {
    std::filesystem::path path;
    BenchFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "qelto-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            std::abort();
        }
        path = pattern;
    }
    ~BenchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
};

void BM_OpenSaveInMemory(benchmark::State& state) {
    const NoPumpNameDefaults names;
    CProgData config;
    CQeltoDoc doc(config, names);
    fillDocument(doc);
    std::vector<std::uint8_t> bytes = doc.storeToBytes();
    for (auto _ : state) {
        const OpenResult result = doc.loadFromBytes(bytes, "bench.qlf");
        bytes = doc.storeToBytes();
        benchmark::DoNotOptimize(result.ok());
        benchmark::DoNotOptimize(bytes.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes.size() * 2));
}
BENCHMARK(BM_OpenSaveInMemory)->Unit(benchmark::kMicrosecond);

void BM_OpenSaveFile(benchmark::State& state) {
    const NoPumpNameDefaults names;
    CProgData config;
    CQeltoDoc doc(config, names);
    fillDocument(doc);
    const BenchFolder folder;
    const std::filesystem::path file = folder.path / "bench.qlf";
    if (!doc.onSaveDocument(file).ok) {
        state.SkipWithError("cannot write the benchmark document");
        return;
    }
    for (auto _ : state) {
        const bool opened = doc.onOpenDocument(file).ok();
        const bool saved = doc.onSaveDocument(file).ok;
        if (!opened || !saved) {
            state.SkipWithError("open or save failed");
            break;
        }
    }
}
BENCHMARK(BM_OpenSaveFile)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace
