#include "platform/application.h"
#include "platform/error.h"
#include "platform/messagebox.h"

#include <QTimer>
#include <QtTest>

// An exception thrown inside an event handler is shown in a "Fehler" box and
// the event loop goes on.
class TestApplication : public QObject {
    Q_OBJECT
private slots:
    void exceptionInAHandlerShowsAnErrorBoxAndTheProgramGoesOn() {
        QList<platform::MessageBoxRequest> boxes;
        platform::setMessageBoxHandler([&](const platform::MessageBoxRequest& r) {
            boxes << r;
            return platform::Answer::Ok;
        });
        bool laterEventRan = false;
        QTimer::singleShot(0, [] { throw platform::Error("Tabelle ist gesperrt."); });
        QTimer::singleShot(5, [] { throw std::runtime_error("kaputt"); });
        QTimer::singleShot(10, [&] { laterEventRan = true; });
        QTRY_VERIFY(laterEventRan);
        platform::setMessageBoxHandler({});
        QCOMPARE(boxes.size(), 2);
        QCOMPARE(boxes[0].caption, QStringLiteral("Fehler"));
        QCOMPARE(boxes[0].text, QStringLiteral("Tabelle ist gesperrt."));
        QCOMPARE(boxes[1].text, QStringLiteral("kaputt"));
    }
};

int main(int argc, char** argv) {
    platform::Application app(argc, argv);
    TestApplication test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_application.moc"
