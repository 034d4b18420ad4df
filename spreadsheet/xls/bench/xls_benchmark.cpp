// Opening and saving a .xls of 10 columns and as many rows as the format
// holds (65536), with peak memory.
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <filesystem>

#include "spreadsheet/xls/xls_files.h"

using namespace varnex::spreadsheet;

namespace {

constexpr int kRows = 65536;  // the most a .xls sheet holds

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

long PeakKiB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

}  // namespace

int main() {
  const std::string path = (std::filesystem::temp_directory_path() / "varnex-bench.xls").string();
  {
    Workbook book(nullptr, "bench");
    Sheet& sheet = book.AddSheet("工资表");
    for (int c = 1; c <= 10; ++c) sheet.SetValue(1, c, CellValue::Text("列" + std::to_string(c)));
    for (int r = 2; r <= kRows; ++r) {
      sheet.SetValue(r, 1, CellValue::Text("职工" + std::to_string(r)));
      for (int c = 2; c <= 10; ++c) sheet.SetValue(r, c, CellValue::Number(r * 1.25 + c));
    }
    std::string error;
    const auto start = std::chrono::steady_clock::now();
    if (!xls::XlsFiles().Write(book, path, &error)) {
      std::fprintf(stderr, "save failed: %s\n", error.c_str());
      return 1;
    }
    std::printf("save %d x 10: %.3f s (%.1f MiB file)\n", kRows, Seconds(start),
                std::filesystem::file_size(path) / 1048576.0);
  }
  const long before_open = PeakKiB();
  Workbook read(nullptr, "read");
  std::string error;
  const auto start = std::chrono::steady_clock::now();
  if (!xls::XlsFiles().Read(path, read, &error)) {
    std::fprintf(stderr, "open failed: %s\n", error.c_str());
    return 1;
  }
  std::printf("open %d x 10: %.3f s, %zu cells\n", kRows, Seconds(start), read.sheet(0)->StoredCellCount());
  std::printf("peak memory: %.1f MiB (%.1f MiB before opening)\n", PeakKiB() / 1024.0, before_open / 1024.0);
  std::filesystem::remove(path);
  return 0;
}
