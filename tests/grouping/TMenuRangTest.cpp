#include "TMenuRang.h"

#include "TestEnvironment.h"

#include <QLineEdit>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

const QString kInvalida = QStringLiteral("Invalid entrance");
const QString kMargenes = QStringLiteral("Margins are bad defined ot the interval have not samples");
const QString kFueraRango = QStringLiteral("Value out of range");

class MenuRang : public ::testing::Test {
protected:
    void SetUp() override { testsupport::Messages::clear(); }

    std::unique_ptr<TMenuRang> Crear(const std::vector<TTiempo>& t, int primero, int ultimo) {
        m_primero = primero;
        m_ultimo = ultimo;
        return std::make_unique<TMenuRang>(nullptr, t.data(), static_cast<int>(t.size()), &m_primero,
                                           &m_ultimo);
    }
    // The only message shown since the last check.
    QString UnicoError() {
        auto& m = testsupport::Messages::shown();
        if (m.size() != 1)
            return QStringLiteral("%1 messages").arg(m.size());
        const QString texto = m.front().text;
        testsupport::Messages::clear();
        return texto;
    }
    static void Poner(QLineEdit* e, const char* texto) { e->setText(QString::fromLatin1(texto)); }

    int m_primero = -7;
    int m_ultimo = -7;
};

// Records without times: year 0 in the first one.
std::vector<TTiempo> SinTiempos(int n) {
    return std::vector<TTiempo>(static_cast<size_t>(n), TTiempo(0, 0, 0, 0, 0, 0, -1));
}

// One record per hour from 2 March 2026 10:00:00.250.
std::vector<TTiempo> ConTiempos(int n) {
    std::vector<TTiempo> t;
    TTiempo x(2026, 3, 2, 10, 0, 0, 250);
    for (int i = 0; i < n; ++i) {
        t.push_back(x);
        x.SumarSegundos(3600);
    }
    return t;
}

} // namespace

// The edits a case types in a dialog over ten records without times (record numbers) or five
// hourly records (dates), the message it must get (empty: accepted) and the range it leaves;
// then a dialog over no records at all.
TEST_F(MenuRang, PicksTheRecordsAskedForAndRefusesBadRanges) {
    using Edicion = std::pair<QLineEdit * TMenuRang::*, const char*>;
    struct Caso {
        bool fechas;
        std::vector<Edicion> ediciones;
        QString error;
        int primero, ultimo;
    };
    const auto I = &TMenuRang::EInicial, F = &TMenuRang::EFinal;
    // clang-format off
    const Caso casos[] = {
        {false, {{I, "5"}, {F, "3"}}, kMargenes, 0, 9},
        {false, {{I, "0"}, {F, "3"}}, kInvalida, 0, 9},
        {false, {{I, "4"}, {F, "10"}}, QString(), 3, 9},
        {true, {}, QString(), 0, 4}, // ending on the last record, to the second
        {true, {{&TMenuRang::HFS, "01"}}, kFueraRango, 0, 4}, // one second after it
        {true, {{&TMenuRang::FFM, "x"}}, kInvalida, 0, 4},
        {true, {{&TMenuRang::HIH, "13"}, {&TMenuRang::HFH, "11"}}, kMargenes, 0, 4},
        // 10:30 to 13:59:59: the records at 11:00, 12:00 and 13:00.
        {true, {{&TMenuRang::HIH, "10"}, {&TMenuRang::HIM, "30"}, {&TMenuRang::HFH, "13"}, {&TMenuRang::HFM, "59"},
          {&TMenuRang::HFS, "59"}}, QString(), 1, 3},
    };
    // clang-format on
    for (const Caso& c : casos) {
        auto d = c.fechas ? Crear(ConTiempos(5), 0, 4) : Crear(SinTiempos(10), 0, 9);
        for (const auto& [campo, texto] : c.ediciones)
            Poner((*d).*campo, texto);
        d->AcceptClick();
        EXPECT_EQ(c.error.isEmpty() ? QStringLiteral("0 messages") : c.error, UnicoError());
        EXPECT_EQ(d->result() == QDialog::Accepted, c.error.isEmpty());
        EXPECT_EQ(m_primero, c.primero);
        EXPECT_EQ(m_ultimo, c.ultimo);
        if (c.fechas && c.error == kInvalida) {
            EXPECT_EQ(d->FFM->text(), QStringLiteral("x")) << "a non-numeric edit is left to correct";
        }
    }
    auto vacio = Crear({}, 0, 0);
    EXPECT_TRUE(vacio->ModoRegistros());
    vacio->AcceptClick();
    EXPECT_EQ(UnicoError(), kMargenes);
}

TEST_F(MenuRang, CancelLeavesTheOutParametersAndRunsThroughTheDialogRunner) {
    auto d = Crear(SinTiempos(3), 1, 2);
    testsupport::Dialogs::handleNext([](QDialog& dlg) {
        auto& m = static_cast<TMenuRang&>(dlg);
        m.EInicial->setText(QStringLiteral("1"));
        m.CancelClick();
        return dlg.result();
    });
    EXPECT_EQ(host::DialogRunner::exec(*d), QDialog::Rejected);
    EXPECT_EQ(m_primero, 1);
    EXPECT_EQ(m_ultimo, 2);
}
