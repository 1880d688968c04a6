// The model window: an OFF file opened from the main window, the picture it paints, turning and
// resetting the view, the model a run wrote, and a file it cannot read.
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QTest>
#include <QUrl>

#include "gui/intro_window.h"
#include "gui/model_view.h"
#include "gui/model_window.h"
#include "gui/runtime_form.h"
#include "gui_test_support.h"

namespace ostrel::gui::test {
namespace {

// A cube whose faces towards +z, +x and +y (those the first view shows) are red, green and blue.
const QByteArray kColouredCube =
    "OFF\n8 6 12\n"
    "-0.5 -0.5 -0.5\n0.5 -0.5 -0.5\n-0.5 0.5 -0.5\n0.5 0.5 -0.5\n"
    "-0.5 -0.5 0.5\n0.5 -0.5 0.5\n-0.5 0.5 0.5\n0.5 0.5 0.5\n"
    "4 0 2 3 1 128 128 128\n4 4 5 7 6 255 0 0\n4 0 4 6 2 128 128 128\n"
    "4 1 3 7 5 0 255 0\n4 0 1 5 4 128 128 128\n4 2 6 7 3 0 0 255\n";

// The share of the picture's pixels in which channel `c` (0 red, 1 green, 2 blue) stands out
// alone.
double share_of_pure(const QImage& image, int c) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QColor pixel = image.pixelColor(x, y);
      const int channel[3] = {pixel.red(), pixel.green(), pixel.blue()};
      if (channel[c] > 60 && channel[(c + 1) % 3] < 20 && channel[(c + 2) % 3] < 20) ++count;
    }
  }
  return static_cast<double>(count) / (image.width() * image.height());
}

// Presses the left button at `from` and moves to `to`, then lets go there unless `hold`.
void drag(QWidget* view, QPoint from, QPoint to, bool hold = false) {
  QMouseEvent press(QEvent::MouseButtonPress, from, view->mapToGlobal(from), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(view, &press);
  QMouseEvent move(QEvent::MouseMove, to, view->mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                   Qt::NoModifier);
  QCoreApplication::sendEvent(view, &move);
  if (hold) return;
  QMouseEvent release(QEvent::MouseButtonRelease, to, view->mapToGlobal(to), Qt::LeftButton,
                      Qt::NoButton, Qt::NoModifier);
  QCoreApplication::sendEvent(view, &release);
}

}  // namespace

class ModelWindowTest : public QObject {
  Q_OBJECT

 public slots:
  void open_url(const QUrl& url) { opened << url.toLocalFile(); }

 private slots:
  void cube_off_shows_its_colours_and_turns() {
    MessageLog log;
    FormsUnderTest app;
    const QString folder = app.write_input("cube.off", kColouredCube);
    app.forms->intro().view_model(QDir(folder).filePath("cube.off"));
    ModelWindow& window = app.forms->model_window();
    QVERIFY(window.isVisible());
    QVERIFY(log.texts().isEmpty());
    QCOMPARE(window.windowTitle(), QString("Ostrel Model: cube"));
    QCOMPARE(control<QLabel>(&window, "ModelCounts")->text(),
             QString("8 vertices, 6 faces, 12 edges"));

    ModelView& view = window.view();
    view.resize(300, 300);
    const QImage first = view.grab().toImage();
    for (int c = 0; c < 3; ++c)
      QVERIFY2(share_of_pure(first, c) > 0.02, qPrintable(QString::number(c)));

    // While the button is down the quick picture shows; the full one once it lets go.
    drag(&view, QPoint(150, 150), QPoint(230, 170), true);
    QVERIFY(view.angles().yaw != ViewAngles{}.yaw);
    QVERIFY(view.moving());
    const QImage full = view.picture(view.size());
    QVERIFY(view.grab().toImage().convertToFormat(QImage::Format_RGB32) != full);
    drag(&view, QPoint(230, 170), QPoint(230, 170));
    QVERIFY(!view.moving());
    const QImage turned = view.grab().toImage();
    QCOMPARE(turned.convertToFormat(QImage::Format_RGB32), full);
    QVERIFY(turned != first);

    click(&window, "ResetView");
    QCOMPARE(view.grab().toImage(), first);
    click(&window, "FrameView");
    QVERIFY(view.grab().toImage() != first);
  }

  void run_from_the_forms_shows_the_written_model() {
    MessageLog log;
    FormsUnderTest app;
    // An octahedron with a highlighted vertex.
    app.write_input("marked.txt",
                    "{\n1,2,3,-1,\n1,3,4,-1,\n1,4,5,-1,\n1,5,2,-1,\n"
                    "6,3,2,-1,\n6,4,3,-1,\n6,5,V4,-1,\n6,2,5,-1,\n}\n");
    app.open_runtime_for("marked.txt");
    click(&app.forms->runtime(), "Once");
    click(&app.forms->runtime(), "RunOK");
    QCOMPARE(log.texts(), QStringList{"W11: marked  VRML files written"});

    ModelWindow& window = app.forms->model_window();
    QVERIFY(window.isVisible());
    QCOMPARE(control<QLabel>(&window, "ModelName")->text(), QString("marked"));
    QCOMPARE(control<QListWidget>(&window, "IsomorphList")->count(), 1);
    // Read back with the run's input: the highlighted vertex has its sphere, as in the files.
    QCOMPARE(window.view().scene()->spheres.size(), std::size_t(1));

    QDesktopServices::setUrlHandler("file", this, "open_url");
    click(&window, "OpenInViewer");
    QDesktopServices::unsetUrlHandler("file");
    QCOMPARE(opened, QStringList{QDir(app.work_folder.path()).filePath("marked_solid.wrl")});
  }

  void net_stands_beside_the_model_and_saves() {
    MessageLog log;
    FormsUnderTest app;
    const QString folder = app.write_input("cube.off", kColouredCube);
    app.forms->intro().view_model(QDir(folder).filePath("cube.off"));
    ModelWindow& window = app.forms->model_window();
    QCOMPARE(window.net().pages.size(), std::size_t(1));
    QVERIFY(control<QWidget>(&window, "NetView")->isVisibleTo(&window));
    // The net is drawn: its red, green and blue faces show in the picture.
    const QImage net = control<QWidget>(&window, "NetView")->grab().toImage();
    for (int c = 0; c < 3; ++c) QVERIFY2(share_of_pure(net, c) > 0.001, qPrintable(QString::number(c)));
    const QString saved = QDir(folder).filePath("saved_net.svg");
    QVERIFY(window.save_net_to(saved));
    QVERIFY(QFile(saved).size() > 0);

    QFile star(QDir(folder).filePath("star.off"));
    QVERIFY(QFile::copy(OSTREL_EXAMPLES_DIR "/pentagrammic_antiprism.off", star.fileName()));
    app.forms->intro().view_model(star.fileName());
    QVERIFY(window.net().pages.empty());
    QCOMPARE(control<QLabel>(&window, "NetMessage")->text(),
             QString("the faces of this model cross each other; nets are made for solids whose "
                     "faces do not"));
    QVERIFY(!control<QWidget>(&window, "SaveNet")->isEnabled());
    QVERIFY(log.texts().isEmpty());
  }

  void unreadable_file_gives_its_message() {
    MessageLog log;
    FormsUnderTest app;
    const QString folder = app.write_input("bad.off", "OFF\n3 1 0\n0 0 0\n1 0 0\n0 1 0\n3 0 1 9\n");
    app.forms->intro().view_model(QDir(folder).filePath("bad.off"));
    QCOMPARE(
        log.texts(),
        QStringList{"Input error: line 6 of the OFF file: vertex index 9 is out of range 0..2"});
    QVERIFY(!app.forms->model_window().isVisible());
  }

 private:
  QStringList opened;
};

}  // namespace ostrel::gui::test

QTEST_MAIN(ostrel::gui::test::ModelWindowTest)
#include "model_window_guitest.moc"
