#pragma once
// The wireless card settings dialog in the real main window against the
// simulator: the fixture and helpers its tests share.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <fstream>
#include <sstream>

#include "core/Globals.h"
#include "screens/wireless/WirelessTransfer.h"
#include "screens/wireless/frmWireless.h"
#include "tests/screens/network/NetworkFixture.h"
#include "ui/DialogValues.h"

namespace talvo::test::wireless_dialog {

using talvo::wireless::frmWireless;
using talvo::wireless::WirelessModel;

using Frames = std::vector<std::string>;

inline const char* const kCardKey = "0123456789ABCDEF0123456789ABCDEF";

inline std::string station(const std::string& model, const std::string& version, const std::string& sets = "") {
    return "comm K6-" + model + ":RUN version K6-" + model + ":" + version + "\n" + sets;
}

inline std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

inline void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

inline std::size_t count(const Frames& f, const std::string& s) { return std::count(f.begin(), f.end(), s); }

// How often the frames write group/item.
inline std::size_t writes(const Frames& f, const std::string& group, const std::string& item) {
    std::size_t n = 0;
    for (std::size_t i = 0; i + 2 < f.size(); ++i)
        if (f[i] == "G" + group && f[i + 1] == "I" + item && f[i + 2].rfind('D', 0) == 0) ++n;
    return n;
}

// The message that ends a Download which left settings as they are on the card.
inline std::vector<std::string> leftOnCard(const std::string& settings) {
    return {std::string(ui::kLeftAsTheyAreText) + settings};
}

class WirelessDialogTest : public NetworkTest {
protected:
    static QComboBox* combo(QWidget& d, const QString& name) { return in<QComboBox>(d, name); }
    static std::string entry(QWidget& d, const QString& name) { return combo(d, name)->currentText().toStdString(); }
    static bool enabled(QWidget& d, const QString& name) { return in<QWidget>(d, name)->isEnabled(); }
    // The user picks an entry of a list.
    static void pick(QWidget& d, const QString& name, int index) {
        QComboBox* list = combo(d, name);
        list->setCurrentIndex(index);
        Q_EMIT list->activated(index);
    }
    // Whether a control is drawn as holding no value.
    static bool unread(QWidget& d, const QString& name) { return ui::DrawnUnread(in<QWidget>(d, name)); }

    // The frames of reading each item of the list in turn.
    static Frames reads(const std::vector<std::pair<std::string, std::string>>& items) {
        Frames f;
        for (const auto& [g, i] : items) {
            f.push_back("G" + g);
            f.push_back("I" + i);
        }
        return f;
    }
    QTemporaryDir dir;
};

}  // namespace talvo::test::wireless_dialog
