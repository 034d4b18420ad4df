// ReadCell + CellValueToNumber through ExcelSession against the embedded
// spreadsheet, and the memory a stored numeric cell costs.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include "excel/cell_value.h"
#include "excel/excel_session.h"
#include "spreadsheet/application.h"
#include "spreadsheet/objects/application_object.h"

namespace varnex::spreadsheet {
namespace {

constexpr int kRows = 100000;
constexpr int kColumns = 10;

struct Fixture {
  Fixture() {
    objects::RegisterEmbeddedSpreadsheet([this](const auto& created) { app = created; });
    session.CreateApp();
    auto workbook = app->AddWorkbook();
    Sheet& sheet = workbook->active_sheet();
    for (int r = 1; r <= kRows; ++r)
      for (int c = 1; c <= kColumns; ++c) sheet.SetValue(r, c, CellValue::Number(r * 0.01 + c));
  }
  std::shared_ptr<Application> app;
  ExcelSession session;
};

}  // namespace

Fixture& Shared() {
  static Fixture fixture;
  return fixture;
}

namespace {

void BM_ReadCellToNumber(benchmark::State& state) {
  ExcelSession& session = Shared().session;
  int row = 1;
  double sum = 0;
  for (auto _ : state) {
    sum += CellValueToNumber(session.ReadCell(1, row, 3));
    row = row % kRows + 1;
  }
  benchmark::DoNotOptimize(sum);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ReadCellToNumber);

void BM_WriteCell(benchmark::State& state) {
  ExcelSession& session = Shared().session;
  int row = 1;
  for (auto _ : state) {
    benchmark::DoNotOptimize(session.WriteCell(1, row, 11, "745.5"));
    row = row % kRows + 1;
  }
}
BENCHMARK(BM_WriteCell);

void BM_BytesPerNumericCell(benchmark::State& state) {
  for (auto _ : state) {
    const std::size_t before = mallinfo2().uordblks;
    Sheet sheet("Sheet1");
    for (int r = 1; r <= kRows; ++r)
      for (int c = 1; c <= kColumns; ++c) sheet.SetValue(r, c, CellValue::Number(r + c));
    const std::size_t after = mallinfo2().uordblks;
    state.counters["bytes_per_cell"] = static_cast<double>(after - before) / (kRows * kColumns);
  }
}
BENCHMARK(BM_BytesPerNumericCell)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace varnex::spreadsheet

int main(int argc, char** argv) {
  varnex::spreadsheet::Shared();  // the 100000-row sheet, built before any timing
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
}
