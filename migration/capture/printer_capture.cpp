#include "capture/printer_capture.h"

#include <string>
#include <vector>

#include "capture/capture_run.h"
#include "context/printer_enumeration.h"
#include "platform/text_file.h"

namespace migration {

namespace {

// The driver of a description's tail "driver,location": the text after `comma` less its last
// character, cut before its first comma.
std::string driverAfter(const std::string& description, std::size_t comma) {
  std::string rest = description.substr(comma + 1);
  if (!rest.empty()) rest.pop_back();
  return rest.substr(0, rest.find(','));
}

class PrinterCapture {
 public:
  explicit PrinterCapture(CaptureRun& run) : m_run(run) {}

  void run() {
    readPrintList();
    for (const std::string& description :
         EnumeratePrinterDescriptions(m_run.program().machine().printers())) {
      capture(description);
    }
  }

 private:
  void readPrintList() {
    const std::string path = m_run.program().session.strAppPath + "\\printlist.txt";
    auto text = platform::readWholeFile(m_run.files(), path);
    // A machine without the list simply has no drivers on it.
    if (text) m_printList = std::move(*text);
    else m_run.log().note("no printlist.txt at " + path + ": no driver is listed");
  }

  void capture(const std::string& description) {
    if (description.rfind("\\\\", 0) == 0) {
      const std::size_t comma = description.find(',');
      if (comma == std::string::npos) return skip(description);
      return recordFromPrinterList(description.substr(0, comma));
    }
    if (const std::size_t on = description.find(" on "); on != std::string::npos) {
      const std::size_t comma = description.find(',', on);
      if (comma == std::string::npos) return skip(description);
      const std::string name = "\\\\" + description.substr(on + 4, comma - on - 4) + "\\" +
                               description.substr(0, on);
      return record(name, driverAfter(description, comma));
    }
    const std::size_t comma = description.find(',');
    if (comma == std::string::npos) return skip(description);
    const std::string name = description.substr(0, comma);
    const std::string driver = driverAfter(description, comma);
    if (m_printList.find(driver) != std::string::npos) return record(name, driver);
    recordFromPrinterList(name);
  }

  void recordFromPrinterList(const std::string& name) {
    for (const platform::ListedPrinter& printer : m_run.program().machine().printers().printerList()) {
      if (printer.deviceName == name) record(name, printer.printerValue);
    }
  }

  void record(const std::string& name, const std::string& value) {
    m_run.writePrinterRecord(name, value);
    m_run.log().note("printer \"" + name + "\" recorded as \"" + value + "\"");
  }

  void skip(const std::string& description) {
    m_run.log().warning("printer \"" + description + "\" not captured: its description names no driver");
  }

  CaptureRun& m_run;
  std::string m_printList;
};

}  // namespace

void CapturePrinters(CaptureRun& run) { PrinterCapture(run).run(); }

}  // namespace migration
