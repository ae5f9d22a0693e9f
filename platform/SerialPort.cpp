#include "platform/SerialPort.h"

#include <cctype>
#include <cstdlib>
#include <string>

namespace talvo::platform {

std::string comPortDevice(int portNo) {
    const std::string var = "TALVO_COM" + std::to_string(portNo);
    if (const char* v = std::getenv(var.c_str()); v && *v) return v;
    return "/dev/ttyS" + std::to_string(portNo - 1);
}

bool parseLineSettings(const std::string& text, LineSettings& out) {
    // "baud,parity,data,stop", e.g. "9600,n,8,1"
    std::string parts[4];
    int n = 0;
    for (char c : text) {
        if (c == ',') {
            if (++n > 3) return false;
        } else if (c != ' ') {
            parts[n] += c;
        }
    }
    if (n != 3) return false;
    for (int i : {0, 2, 3}) {
        if (parts[i].empty() || parts[i].size() > 7) return false;
        for (char c : parts[i])
            if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    }
    if (parts[1].size() != 1) return false;
    LineSettings s;
    s.baud = std::atoi(parts[0].c_str());
    s.parity = static_cast<char>(std::tolower(static_cast<unsigned char>(parts[1][0])));
    s.dataBits = std::atoi(parts[2].c_str());
    s.stopBits = std::atoi(parts[3].c_str());
    if (s.baud <= 0 || (s.parity != 'n' && s.parity != 'e' && s.parity != 'o') || s.dataBits < 5 ||
        s.dataBits > 8 || (s.stopBits != 1 && s.stopBits != 2))
        return false;
    out = s;
    return true;
}

}  // namespace talvo::platform
