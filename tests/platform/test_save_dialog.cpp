// The real save dialog, driven as a user drives it: a name typed without its
// extension over an existing file is asked about under the name that is
// written, and "No" replaces nothing.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <string>
#include <vector>

#include "platform/qt/QtServices.h"

using talvo::platform::QtFileDialog;

namespace {

const std::string kFilter = "uJx Files (*.uJx)|*.uJx|Text Files (*.txt)|*.txt|All Files (*.*)|*.*";

// The dialog starts in the folder last used or at home: the tests type whole
// paths into its name box, as a user may.
// What the user does in each modal window, in turn: a step runs once its
// window is the one on top. Steps that open another modal window are posted,
// so the steps after them still run while it is open.
class User : public QObject {
public:
    struct Step {
        bool messageBox;  // the replace question, else the file dialog
        std::function<void(QWidget*)> act;
    };
    explicit User(std::vector<Step> steps) : steps_(std::move(steps)) {
        connect(&timer_, &QTimer::timeout, this, [this] { tick(); });
        timer_.start(10);
    }
    bool done() const { return next_ == steps_.size(); }
    std::vector<std::string> questions;

private:
    void tick() {
        if (done()) return;
        QWidget* top = QApplication::activeModalWidget();
        const Step& s = steps_[next_];
        const bool isBox = qobject_cast<QMessageBox*>(top) != nullptr;
        if (!top || !top->isVisible() || isBox != s.messageBox || (!isBox && !qobject_cast<QFileDialog*>(top)))
            return;
        if (isBox) questions.push_back(static_cast<QMessageBox*>(top)->text().toStdString());
        ++next_;
        s.act(top);
    }
    std::vector<Step> steps_;
    std::size_t next_ = 0;
    QTimer timer_;
};

void typeName(QWidget* dialog, const QString& name) {
    auto* edit = dialog->findChild<QLineEdit*>("fileNameEdit");
    ASSERT_NE(edit, nullptr);
    edit->setText(name);
}

void post(QWidget* w, const char* method) { QMetaObject::invokeMethod(w, method, Qt::QueuedConnection); }

void answer(QWidget* box, QMessageBox::StandardButton b) {
    QAbstractButton* button = static_cast<QMessageBox*>(box)->button(b);
    ASSERT_NE(button, nullptr);
    button->click();
}

// Picks an entry of the file type list as a click would.
void chooseFilter(QWidget* dialog, const QString& filter) {
    auto* list = dialog->findChild<QComboBox*>("fileTypeCombo");
    ASSERT_NE(list, nullptr);
    const int i = list->findText(filter);
    ASSERT_GE(i, 0);
    list->setCurrentIndex(i);
    Q_EMIT list->activated(i);
    Q_EMIT list->textActivated(filter);
}

std::string readAll(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return "<missing>";
    return f.readAll().toStdString();
}

void writeAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

class SaveDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        writeAll(dir.filePath("station1.uJx"), "old");
    }
    std::string suggested(const char* name) const { return dir.filePath(name).toStdString(); }
    QTemporaryDir dir;
    QtFileDialog files;
};

const char* const kQuestion = "station1.uJx already exists.\nDo you want to replace it?";

TEST_F(SaveDialogTest, ANameWithoutItsExtensionIsAskedAboutAndNoReplacesNothing) {
    const QString typed = dir.filePath("station1");
    User user({{false, [typed](QWidget* d) {
                    typeName(d, typed);
                    post(d, "accept");
                }},
               {true, [](QWidget* b) { answer(b, QMessageBox::No); }},
               // Still in the dialog after "No": the user gives up.
               {false, [](QWidget* d) { post(d, "reject"); }}});
    std::string path = suggested("");
    EXPECT_FALSE(files.saveFile(kFilter, path));
    EXPECT_TRUE(user.done());
    EXPECT_EQ(user.questions, std::vector<std::string>{kQuestion});
    EXPECT_EQ(readAll(dir.filePath("station1.uJx")), "old");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"station1.uJx"});
}

TEST_F(SaveDialogTest, YesGivesTheNameWithItsExtension) {
    const QString typed = dir.filePath("station1");
    User user({{false, [typed](QWidget* d) {
                    typeName(d, typed);
                    post(d, "accept");
                }},
               {true, [](QWidget* b) { answer(b, QMessageBox::Yes); }}});
    std::string path = suggested("");
    ASSERT_TRUE(files.saveFile(kFilter, path));
    EXPECT_TRUE(user.done());
    EXPECT_EQ(user.questions, std::vector<std::string>{kQuestion});
    EXPECT_EQ(path, suggested("station1.uJx"));
}

TEST_F(SaveDialogTest, NewNamesTakeTheChosenEntrysExtensionOrKeepTheirOwn) {
    const struct {
        const char* typed;
        QString filter;  // the list entry chosen, or none
        const char* saved;
    } cases[] = {
        {"station2", {}, "station2.uJx"},
        {"station2.bak", {}, "station2.bak"},
        {"notes", "Text Files (*.txt)", "notes.txt"},
        {"plain", "All Files (*.*)", "plain"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        const QString typed = dir.filePath(QString::fromLatin1(c.typed));
        const QString filter = c.filter;
        User user({{false, [typed, filter](QWidget* d) {
                        if (!filter.isEmpty()) chooseFilter(d, filter);
                        typeName(d, typed);
                        post(d, "accept");
                    }}});
        std::string path = suggested("");
        ASSERT_TRUE(files.saveFile(kFilter, path));
        EXPECT_TRUE(user.questions.empty());
        EXPECT_EQ(path, suggested(c.saved));
    }
}

}  // namespace
