#include "platform/Services.h"

#include <algorithm>
#include <vector>

namespace talvo::platform {

Services& services() {
    static Services s;
    return s;
}

namespace {
int level = 0;

struct Modals {
    std::vector<int> open;
    int next = 1;
    std::function<void()> closed;
};
Modals& modals() {
    static Modals m;
    return m;
}
}  // namespace

int eventLevel() { return level; }
EventLevelScope::EventLevelScope() { ++level; }
EventLevelScope::~EventLevelScope() { --level; }

int topModal() { return modals().open.empty() ? 0 : modals().open.back(); }

bool modalOpen(int id) {
    const auto& open = modals().open;
    return id == 0 || std::find(open.begin(), open.end(), id) != open.end();
}

void setModalClosedListener(std::function<void()> listener) { modals().closed = std::move(listener); }

ModalScope::ModalScope() : id_(modals().next++) { modals().open.push_back(id_); }

ModalScope::~ModalScope() {
    auto& open = modals().open;
    open.erase(std::remove(open.begin(), open.end(), id_), open.end());
    if (modals().closed) modals().closed();
}

}  // namespace talvo::platform
