#include "app/screenshots.h"

#include <QCoreApplication>
#include <QImage>
#include <QPainter>
#include <QTimer>
#include <functional>
#include <ostream>

#include "frame/frm_about.h"
#include "frame/frm_main.h"
#include "frame/frm_status_message.h"
#include "frame/start_up.h"
#include "context/program.h"
#include "gui/qt_text.h"
#include "gui/qt_ui.h"
#include "scan/frm_add_type.h"
#include "scan/frm_browse.h"
#include "scan/frm_exclude.h"
#include "scan/frm_message.h"
#include "scan/frm_new_dir.h"
#include "scan/mdl_file_types.h"
#include "script/frm_reg_enum.h"

namespace app {

namespace {

constexpr int kTitleHeight = 24;

// The window with a plain frame and title bar around it: offscreen windows have none, and the
// caption is part of what a reviewer checks.
QImage framed(QWidget& window) {
  const QPixmap client = window.grab();
  QImage image(client.width() + 2, client.height() + kTitleHeight + 1, QImage::Format_ARGB32);
  image.fill(QColor(80, 80, 80));
  QPainter painter(&image);
  painter.fillRect(QRect(1, 1, client.width(), kTitleHeight - 1), QColor(10, 36, 106));
  QFont font = window.font();
  font.setBold(true);
  painter.setFont(font);
  painter.setPen(Qt::white);
  painter.drawText(QRect(8, 1, client.width() - 16, kTitleHeight - 1),
                   Qt::AlignVCenter | Qt::AlignLeft, window.windowTitle());
  painter.drawPixmap(1, kTitleHeight, client);
  return image;
}

class Camera {
 public:
  Camera(gui::QtUi& ui, std::filesystem::path folder, std::ostream& log)
      : m_ui(ui), m_folder(std::move(folder)), m_log(log) {}

  void shoot(const forms::Form& form, const std::string& name) {
    gui::FormView* view = m_ui.viewOf(form);
    if (view == nullptr) {
      fail(name, "the window is not shown");
      return;
    }
    // The picture shows every row now, and the layouts settled.
    view->showPendingRows();
    QCoreApplication::processEvents();
    const std::filesystem::path file = m_folder / (name + ".png");
    if (!framed(*view).save(QString::fromStdString(file.string()), "PNG")) {
      fail(name, "cannot write " + file.string());
      return;
    }
    m_log << "wrote " << file.string() << "\n";
  }

  // Runs `whileShown` once the modal window that `open` shows is up; `whileShown` must close it.
  static void duringModal(const std::function<void()>& whileShown,
                          const std::function<void()>& open) {
    QTimer::singleShot(0, whileShown);
    open();
  }

  int failures() const { return m_failures; }

 private:
  void fail(const std::string& name, const std::string& why) {
    m_log << name << ": " << why << "\n";
    ++m_failures;
  }

  gui::QtUi& m_ui;
  std::filesystem::path m_folder;
  std::ostream& m_log;
  int m_failures = 0;
};

// The found files as a scan of the configured types lists them, the first two selected.
void scanForPicture(migration::Program& program) {
  migration::frmMain& main = program.sharedForm<migration::frmMain>();
  // With no type chosen the scan would stop at a message box.
  if (migration::GetFilePatterns(program).empty()) return;
  main.cmdFileScan_Click(1);
  for (std::size_t row = 0; row < main.lvFiles.count() && row < 2; ++row) {
    main.lvFiles.setSelected(row, true);
  }
}

void shootMainWindow(migration::Program& program, Camera& camera) {
  static const char* const kPages[] = {"frmMain-export", "frmMain-backup", "frmMain-restore"};
  migration::frmMain& main = program.sharedForm<migration::frmMain>();
  scanForPicture(program);
  for (std::size_t tab = 0; tab < main.tabRTF.count(); ++tab) {
    main.tabRTF.select(tab);
    camera.shoot(main, kPages[tab]);
  }
  main.tabRTF.select(0);
}

void shootSmallWindows(migration::Program& program, Camera& camera) {
  migration::frmStatusMessage& status = program.sharedForm<migration::frmStatusMessage>();
  status.show();
  for (int tick = 0; tick < 3; ++tick) status.Timer1_Timer();
  camera.shoot(status, "frmStatusMessage");
  status.hide();

  migration::frmMessage& message = program.sharedForm<migration::frmMessage>();
  message.Cancel_Message("Searching drive C: for user documents...");
  camera.shoot(message, "frmMessage");
  message.Close_Message();

  migration::frmAbout about(program);
  about.show(forms::ShowMode::Modeless);
  camera.shoot(about, "frmAbout");
  about.unload();
}

// The folder the master-file picker opens on: where the main window expects the master file,
// when that folder is there.
std::string masterFileFolder(migration::Program& program) {
  const std::string& file = program.sharedForm<migration::frmMain>().txtMigFile.text();
  const std::string folder = file.substr(0, file.find_last_of('\\'));
  return program.files().folderExists(folder) ? folder : "C:\\";
}

void shootDialogs(migration::Program& program, Camera& camera) {
  // The directory picker opened where the scan found the first document.
  migration::frmBrowse browseFolder(program);
  const forms::ListView& found = program.sharedForm<migration::frmMain>().lvFiles;
  const std::string documents = found.count() > 0 ? found.cell(0, 0) : "C:\\";
  Camera::duringModal(
      [&] {
        platform::ignoreFailure(browseFolder.Dir1.setPath(documents), "the folder a screenshot shows");
        camera.shoot(browseFolder, "frmBrowse");
        browseFolder.cmdCancel.click();
      },
      [&] { browseFolder.Get_Dir(0); });

  migration::frmBrowse browseMaster(program);
  const std::string folder = masterFileFolder(program);
  Camera::duringModal(
      [&] {
        platform::ignoreFailure(browseMaster.Dir1.setPath(folder), "the folder a screenshot shows");
        camera.shoot(browseMaster, "frmBrowse-master");
        browseMaster.cmdCancel.click();
      },
      [&] { browseMaster.Get_Dir(1); });

  migration::frmNewDir newDir(program);
  Camera::duringModal(
      [&] {
        newDir.txtDir.setText("Backup");
        camera.shoot(newDir, "frmNewDir");
        newDir.cmdCancel.click();
      },
      [&] { newDir.New_Dir("C:\\"); });
}

// The windows of the file types, the exclude list and the script builder, as their menu
// commands open them.
void shootToolWindows(migration::Program& program, Camera& camera) {
  migration::frmAddType addType(program);
  Camera::duringModal(
      [&] {
        addType.txtExt.setText("txt");
        addType.txtDesc.setText("Plain text notes");
        camera.shoot(addType, "frmAddType");
        addType.unload(forms::UnloadMode::WindowFrame);
      },
      [&] { addType.show(forms::ShowMode::Modal); });

  migration::frmExclude exclude(program);
  Camera::duringModal(
      [&] {
        camera.shoot(exclude, "frmExclude");
        exclude.unload(forms::UnloadMode::WindowFrame);
      },
      [&] { exclude.show(forms::ShowMode::Modal); });

  migration::frmRegEnum& builder = program.sharedForm<migration::frmRegEnum>();
  builder.show(forms::ShowMode::Modeless);
  builder.txtSubKey.setText("SOFTWARE/Microsoft/Office");
  builder.Command2_Click();
  builder.txtFileMask.setText("*.doc");
  builder.Command3_Click();
  if (builder.lvFiles.count() > 0) {
    builder.lvFiles.setSelected(0, true);
    builder.Command4_Click();
  }
  camera.shoot(builder, "frmRegEnum");
  builder.unload();
}

}  // namespace

int takeScreenshots(platform::Machine& machine, const std::filesystem::path& folder,
                    std::ostream& log) {
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error) {
    log << "cannot create " << folder.string() << ": " << error.message() << "\n";
    return 1;
  }
  // Without it start-up would stop at a message box that nobody offscreen can answer.
  const std::string config = machine.programDirectory() + "\\CONFIG.MIG";
  if (!machine.files().fileExists(config)) {
    log << "no " << config << ": the main window cannot open\n";
    return 1;
  }
  gui::QtUi ui;
  Camera camera(ui, folder, log);
  {
    migration::Program program(machine, ui, "");
    migration::Main(program);
    if (!program.hasSharedForm<migration::frmMain>() || !program.sharedForm<migration::frmMain>().visible()) {
      log << "the main window did not open\n";
      ui.closeAll();
      return 1;
    }
    shootMainWindow(program, camera);
    shootSmallWindows(program, camera);
    shootDialogs(program, camera);
    shootToolWindows(program, camera);
    // The forms go with the program: their windows go first, without unloading anything.
    ui.closeAll();
  }
  return camera.failures() == 0 ? 0 : 1;
}

}  // namespace app
