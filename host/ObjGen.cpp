#include "ObjGen.h"

#include <unordered_map>

namespace {
// One thread only (the user-interface thread), so the table needs no lock.
struct HandleTable {
    std::unordered_map<std::int32_t, ObjGen*> objects;
    std::int32_t next = 1;
};

HandleTable& table() {
    static HandleTable t;
    return t;
}
} // namespace

ObjGen::ObjGen() {
    HandleTable& t = table();
    // Handles are positive and never reused while the counter has room; 0 and -1 mean "none".
    do {
        m_manejador = t.next;
        t.next = t.next == INT32_MAX ? 1 : t.next + 1;
    } while (t.objects.count(m_manejador) != 0);
    t.objects.emplace(m_manejador, this);
}

ObjGen::~ObjGen() {
    table().objects.erase(m_manejador);
}

ObjGen* ObjGen::IncRef() {
    ++m_referencias;
    return this;
}

int ObjGen::DecRef() {
    if (m_referencias > 0)
        --m_referencias;
    return m_referencias == 0 ? 1 : 0;
}

ObjGen* ObjGen::DesdeManejador(std::int32_t manejador) {
    if (manejador <= 0)
        return nullptr;
    const auto& objects = table().objects;
    auto it = objects.find(manejador);
    return it == objects.end() ? nullptr : it->second;
}

int ObjGen::ObjetosVivos() {
    return static_cast<int>(table().objects.size());
}
