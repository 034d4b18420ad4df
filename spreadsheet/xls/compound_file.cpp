#include "spreadsheet/xls/compound_file.h"

#include <gsf/gsf.h>

#include <memory>

namespace varnex::spreadsheet::xls {
namespace {

// Streams larger than this are not workbooks anyone keeps in .xls.
constexpr gsf_off_t kMaxStream = 512LL * 1024 * 1024;

struct Unref {
  void operator()(void* object) const {
    if (object) g_object_unref(object);
  }
};
template <typename T>
using Owned = std::unique_ptr<T, Unref>;

std::string Reason(GError* error, const char* fallback) {
  std::string reason = error && error->message ? error->message : fallback;
  if (error) g_error_free(error);
  return reason;
}

void InitOnce() {
  static const bool done = [] {
    gsf_init();
    return true;
  }();
  (void)done;
}

bool ReadFrom(GsfInput* input, CompoundContents* contents, std::string* error) {
  GError* gerror = nullptr;
  Owned<GsfInfile> infile(gsf_infile_msole_new(input, &gerror));
  if (!infile) {
    *error = "不是有效的 Excel 文件（" + Reason(gerror, "not a compound file") + "）";
    return false;
  }
  Owned<GsfInput> stream;
  const int children = gsf_infile_num_children(infile.get());
  for (int i = 0; i < children; ++i) {
    const char* name = gsf_infile_name_by_index(infile.get(), i);
    const std::string n = name ? name : "";
    if (!stream && (n == "Workbook" || n == "WORKBOOK" || n == "workbook")) {
      stream.reset(gsf_infile_child_by_index(infile.get(), i));
      contents->biff5_book = false;
    } else if (!stream && (n == "Book" || n == "BOOK")) {
      stream.reset(gsf_infile_child_by_index(infile.get(), i));
      contents->biff5_book = true;
    } else if (n != "\005SummaryInformation" && n != "\005DocumentSummaryInformation" &&
               n != "\001CompObj" && n != "\001Ole") {
      contents->other_streams.push_back(n);
    }
  }
  if (!stream) {
    *error = "文件中没有工作簿数据";
    return false;
  }
  const gsf_off_t size = gsf_input_size(stream.get());
  if (size < 0 || size > kMaxStream) {
    *error = "工作簿数据过大";
    return false;
  }
  contents->workbook.resize(static_cast<std::size_t>(size));
  if (size > 0 &&
      !gsf_input_read(stream.get(), static_cast<std::size_t>(size),
                      reinterpret_cast<guint8*>(contents->workbook.data()))) {
    *error = "无法读取工作簿数据";
    return false;
  }
  return true;
}

}  // namespace

bool ReadCompoundFile(const std::string& path, CompoundContents* contents, std::string* error) {
  InitOnce();
  GError* gerror = nullptr;
  Owned<GsfInput> input(gsf_input_stdio_new(path.c_str(), &gerror));
  if (!input) {
    *error = "无法打开文件：" + Reason(gerror, path.c_str());
    return false;
  }
  return ReadFrom(input.get(), contents, error);
}

bool ReadCompoundBytes(const std::string& bytes, CompoundContents* contents, std::string* error) {
  InitOnce();
  Owned<GsfInput> input(gsf_input_memory_new(reinterpret_cast<const guint8*>(bytes.data()),
                                             static_cast<gsf_off_t>(bytes.size()), FALSE));
  if (!input) {
    *error = "内存不足";
    return false;
  }
  return ReadFrom(input.get(), contents, error);
}

bool WriteCompoundFile(const std::string& path, const std::string& workbook, std::string* error,
                       const char* stream_name) {
  InitOnce();
  GError* gerror = nullptr;
  Owned<GsfOutput> sink(gsf_output_stdio_new(path.c_str(), &gerror));
  if (!sink) {
    *error = "无法写入文件：" + Reason(gerror, path.c_str());
    return false;
  }
  Owned<GsfOutfile> outfile(gsf_outfile_msole_new(sink.get()));
  Owned<GsfOutput> stream(gsf_outfile_new_child(outfile.get(), stream_name, FALSE));
  bool ok = stream && gsf_output_write(stream.get(), workbook.size(),
                                       reinterpret_cast<const guint8*>(workbook.data()));
  if (stream) ok = gsf_output_close(stream.get()) && ok;
  ok = gsf_output_close(GSF_OUTPUT(outfile.get())) && ok;
  ok = (gsf_output_is_closed(sink.get()) || gsf_output_close(sink.get())) && ok;
  if (!ok) *error = "写入文件失败";
  return ok;
}

}  // namespace varnex::spreadsheet::xls
