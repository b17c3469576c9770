#pragma once

#include "DrivFlex.h"
#include "Tabla.h"

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace fakes {

// A window driver with a text/option page, an option page and a hidden page. It keeps its
// values, honours page -1 (0 saves, 1 restores) and records every call that writes or
// snapshots, as "set-text p i text", "set-value p i v", "save", "restore".
class WindowDriver : public DrivFlex {
public:
    static constexpr int kTitleLimit = 10;

    std::map<std::pair<int, int>, std::string> texts;
    std::map<std::pair<int, int>, int> values;
    std::vector<std::string> log;

    WindowDriver() {
        static const char* const groups[] = {"Months", "Weeks", "Days", "Hours", "No group", "Default"};
        static const char* const cursors[] = {"Data cross", "Vertical line", "Data square", "No cursor"};
        auto* general = new Tabla;
        general->EntrarPagina("General", 3, 5, true);
        general->EntrarPropiedad(0, 1, 1, 0, "Description", 0, 0, 0, 0, nullptr);
        general->EntrarPropiedad(1, 1, 1, 0, "Title", 0, 0, 0, 0, nullptr);
        general->EntrarPropiedad(2, 1, 1, 0, "Group by", 0, 0, 0, 6, groups);
        AddTabla(general);
        auto* outputs = new Tabla;
        outputs->EntrarPagina("Outputs", 1, 5, true);
        outputs->EntrarPropiedad(0, 1, 1, 0, "Cursor", 0, 0, 0, 4, cursors);
        AddTabla(outputs);
        auto* hidden = new Tabla;
        hidden->EntrarPagina("Hidden", 1, 5, false);
        hidden->EntrarPropiedad(0, 1, 1, 0, "Secret", 0, 0, 0, 0, nullptr);
        AddTabla(hidden);
        texts[{0, 0}] = "Description";
        texts[{0, 1}] = "RMS";
        values[{0, 2}] = 5;
        values[{1, 0}] = 1;
    }

    void SetPropertyText(int p, int i, const char* t) override {
        std::string s = t ? t : "";
        if (p == 0 && i == 1 && s.size() > kTitleLimit)
            s.resize(kTitleLimit); // the driver cuts long titles
        log.push_back("set-text " + std::to_string(p) + " " + std::to_string(i) + " " + s);
        texts[{p, i}] = s;
    }
    void GetPropertyText(int p, int i, char* buffer) override {
        const std::string s = texts.count({p, i}) ? texts[{p, i}] : std::string();
        snprintf(buffer, kTextoPropiedad, "%s", s.c_str());
    }
    void SetPropertyValue(int p, int i, int v) override {
        log.push_back("set-value " + std::to_string(p) + " " + std::to_string(i) + " " + std::to_string(v));
        values[{p, i}] = v;
    }
    void GetPropertyValue(int p, int i, int* v) override {
        if (p < 0) {
            EditarPropiedades(i, v);
            return;
        }
        *v = values.count({p, i}) ? values[{p, i}] : -1;
    }
    void GuardarPropiedades() override {
        log.push_back("save");
        m_savedTexts = texts;
        m_savedValues = values;
    }
    void RestaurarPropiedades() override {
        log.push_back("restore");
        texts = m_savedTexts;
        values = m_savedValues;
    }

private:
    std::map<std::pair<int, int>, std::string> m_savedTexts;
    std::map<std::pair<int, int>, int> m_savedValues;
};

} // namespace fakes
