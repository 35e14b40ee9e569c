#include "context/master_writer.h"

#include "context/master_file_format.h"

namespace migration {

platform::Result<MasterWriter> MasterWriter::create(platform::FileSystem& files,
                                                    const std::string& path) {
  auto writer = platform::TextWriter::open(files, path, platform::OpenMode::CreateTruncate);
  if (!writer) return platform::Result<MasterWriter>::failure(writer.status(), path);
  return MasterWriter(std::move(writer).value());
}

platform::Status MasterWriter::WriteMasterLine(std::string_view text) {
  return m_writer.writeLine(std::string(text));
}

platform::Status MasterWriter::writeRecord(std::string_view name, std::string_view value) {
  return m_writer.writeLine(MasterRecordLine(name, value));
}

platform::Status MasterWriter::close() { return m_writer.close(); }

}  // namespace migration
