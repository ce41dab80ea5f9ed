// ornet5-window-shots OUTPUT_FOLDER [SECONDS]
//
// Runs the program as ORNET5 does and, after SECONDS (default 8) of
// polling, saves pictures of its three windows into OUTPUT_FOLDER:
// main-window.png, settings-window.png (opened through the popup menu's action),
// about-box.png, journal-window.png (its first period, 24 hours) and
// journal-window-30-days.png, and demo.png with the main and the settings
// window side by side. Then it closes the main window, which ends the program. Used for
// the README's screenshots and by the run command on machines without a display.

#include <algorithm>
#include <cstdio>
#include <exception>
#include <optional>
#include <utility>

#include <QDialog>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QRadioButton>
#include <QTimer>

#include "app/qt/face.h"
#include "app/qt/guarded_application.h"
#include "app/qt/journal_window.h"
#include "app/qt/program.h"
#include "app/qt/trelan_adc_face.h"
#include "common/int_text.h"

namespace ornet5 {
namespace {

constexpr int kSettleMs = 500;
constexpr int kGap = 12;

class TWindowShots {
  public:
    TWindowShots(TProgram& program, QDir folder) : program_(program), folder_(std::move(folder)) {}

    void Start(int delayMs) {
        QTimer::singleShot(delayMs, [this] { ShootMain(); });
    }
    bool Saved() const { return saved_; }

  private:
    void Save(const QImage& image, const char* name) {
        const QString path = folder_.filePath(QString::fromUtf8(name));
        if (!image.save(path)) {
            std::fprintf(stderr, "cannot write %s\n", path.toLocal8Bit().constData());
            saved_ = false;
        }
    }

    void ShootMain() {
        main_ = program_.MainWindow().grab().toImage();
        Save(main_, "main-window.png");
        program_.MainWindow().actOptionsShowExecute();
        QTimer::singleShot(kSettleMs, [this] { ShootSettings(); });
    }

    void ShootSettings() {
        TTrelanADCFace& settings = program_.SettingsWindow();
        const QImage image = settings.grab().toImage();
        Save(image, "settings-window.png");
        Save(SideBySide(main_, image), "demo.png");
        settings.close();
        QTimer::singleShot(kSettleMs, [this] { ShootAbout(); });
    }

    void ShootAbout() {
        QTimer::singleShot(kSettleMs, [this] {
            auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (box == nullptr) {
                saved_ = false;
            } else {
                Save(box->grab().toImage(), "about-box.png");
                box->accept();
            }
            QTimer::singleShot(kSettleMs, [this] { ShootJournal(); });
        });
        program_.MainWindow().NAboutClick();
    }

    void ShootJournal() {
        program_.Events().NJournalClick();
        QTimer::singleShot(kSettleMs, [this] {
            TJournalWindow& journal = program_.JournalWindow();
            Save(journal.grab().toImage(), "journal-window.png");
            journal.findChild<QRadioButton*>("rbPeriod3")->click();
            Save(journal.grab().toImage(), "journal-window-30-days.png");
            journal.close();
            program_.MainWindow().close();
        });
    }

    static QImage SideBySide(const QImage& left, const QImage& right) {
        QImage both(left.width() + right.width() + 3 * kGap,
                    std::max(left.height(), right.height()) + 2 * kGap, QImage::Format_RGB32);
        both.fill(QColor(0x4a, 0x5a, 0x6e));
        QPainter painter(&both);
        painter.drawImage(kGap, kGap, left);
        painter.drawImage(left.width() + 2 * kGap, kGap, right);
        return both;
    }

    TProgram& program_;
    QDir folder_;
    QImage main_;
    bool saved_ = true;
};

}  // namespace
}  // namespace ornet5

int main(int argc, char** argv) {
    ornet5::TGuardedApplication application(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: ornet5-window-shots OUTPUT_FOLDER [SECONDS]\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.mkpath(".")) {
        std::fprintf(stderr, "cannot create %s\n", argv[1]);
        return 2;
    }
    const std::optional<std::int32_t> seconds =
        argc > 2 ? ornet5::TryStrToInt(argv[2]) : std::optional<std::int32_t>(8);
    if (!seconds || *seconds < 0 || *seconds > 3600) {
        std::fprintf(stderr, "SECONDS must be a number from 0 to 3600\n");
        return 2;
    }
    try {
        ornet5::TProgram program(application);
        ornet5::TWindowShots shots(program, folder);
        shots.Start(*seconds * 1000);
        const int exitCode = program.Run();
        return shots.Saved() ? exitCode : 1;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "ornet5-window-shots: %s\n", error.what());
        return 1;
    }
}
