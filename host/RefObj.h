#pragma once

#include "ObjGen.h"

#include <utility>

// Holds one reference on a host object and drops it when it goes: the object is destroyed
// when that was the last reference. Moves, never copies, so a reference is dropped once.
class RefObj {
public:
    RefObj() = default;
    // Takes over a reference the caller already holds (a new object holds one).
    explicit RefObj(ObjGen* objeto) : m_objeto(objeto) {}
    ~RefObj() { Soltar(); }
    RefObj(RefObj&& otro) noexcept : m_objeto(std::exchange(otro.m_objeto, nullptr)) {}
    RefObj& operator=(RefObj&& otro) noexcept {
        if (this != &otro) {
            Soltar();
            m_objeto = std::exchange(otro.m_objeto, nullptr);
        }
        return *this;
    }
    RefObj(const RefObj&) = delete;
    RefObj& operator=(const RefObj&) = delete;

    ObjGen* get() const { return m_objeto; }
    explicit operator bool() const { return m_objeto != nullptr; }
    void Soltar() {
        if (ObjGen* o = std::exchange(m_objeto, nullptr); o != nullptr && o->DecRef() != 0)
            delete o;
    }

private:
    ObjGen* m_objeto = nullptr;
};
