#include "TMenuRang.h"

#include "TestEnvironment.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

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
    // The only message shown since the last check, which must be an error box.
    QString UnicoError() {
        auto& m = testsupport::Messages::shown();
        if (m.size() != 1)
            return QStringLiteral("%1 messages").arg(m.size());
        const host::Message msg = m.front();
        testsupport::Messages::clear();
        EXPECT_EQ(msg.title, QStringLiteral("Error"));
        EXPECT_EQ(msg.icon, host::MessageIcon::Error);
        return msg.text;
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

TEST_F(MenuRang, ModesAndEditsFollowTheFirstRecordsYear) {
    auto d = Crear(SinTiempos(10), 2, 4);
    EXPECT_TRUE(d->ModoRegistros());
    EXPECT_EQ(d->EInicial->text(), QStringLiteral("3"));
    EXPECT_EQ(d->EFinal->text(), QStringLiteral("5"));
    EXPECT_FALSE(d->FechaIni->isEnabled());
    EXPECT_FALSE(d->HoraFin->isEnabled());
    EXPECT_TRUE(d->EInicial->isEnabled());

    auto f = Crear(ConTiempos(5), 1, 3);
    EXPECT_FALSE(f->ModoRegistros());
    EXPECT_TRUE(f->FechaIni->isEnabled());
    EXPECT_FALSE(f->EFinal->isEnabled());
    EXPECT_EQ(f->FID->text(), QStringLiteral("02"));
    EXPECT_EQ(f->FIA->text(), QStringLiteral("2026"));
    EXPECT_EQ(f->HIH->text(), QStringLiteral("11"));
    EXPECT_EQ(f->HFH->text(), QStringLiteral("13"));
    EXPECT_EQ(f->findChild<QLineEdit*>(QStringLiteral("HFS")), f->HFS);
}

TEST_F(MenuRang, RecordModeRejectsBadNumbersAndKeepsTheOutParameters) {
    auto d = Crear(SinTiempos(10), 0, 9);
    Poner(d->EInicial, "5");
    Poner(d->EFinal, "3");
    d->AcceptClick();
    EXPECT_EQ(UnicoError(), kMargenes);
    Poner(d->EInicial, "0");
    d->AcceptClick();
    EXPECT_EQ(UnicoError(), kInvalida);
    Poner(d->EInicial, "abc");
    Poner(d->EFinal, "4");
    d->AcceptClick();
    EXPECT_EQ(UnicoError(), kInvalida);
    Poner(d->EInicial, "2");
    Poner(d->EFinal, "11");
    d->AcceptClick();
    EXPECT_EQ(UnicoError(), kMargenes);
    EXPECT_EQ(m_primero, 0);
    EXPECT_EQ(m_ultimo, 9);
    EXPECT_NE(d->result(), QDialog::Accepted);
}

TEST_F(MenuRang, RecordModeAcceptsZeroBasedRange) {
    auto d = Crear(SinTiempos(10), 0, 9);
    Poner(d->EInicial, "4");
    Poner(d->EFinal, "10");
    d->AcceptClick();
    EXPECT_TRUE(testsupport::Messages::shown().empty());
    EXPECT_EQ(d->result(), QDialog::Accepted);
    EXPECT_EQ(m_primero, 3);
    EXPECT_EQ(m_ultimo, 9);
}

TEST_F(MenuRang, DateModeStartBeforeTheFirstRecordIsOutOfRangeAndRefills) {
    auto d = Crear(ConTiempos(5), 1, 3);
    Poner(d->HIH, "09");
    Poner(d->HIM, "59");
    d->AcceptClick();
    EXPECT_EQ(UnicoError(), kFueraRango);
    // The edits show the records the dialog opened with again.
    EXPECT_EQ(d->HIH->text(), QStringLiteral("11"));
    EXPECT_EQ(d->HIM->text(), QStringLiteral("00"));
    EXPECT_EQ(m_primero, 1);
}

TEST_F(MenuRang, DateModeEndAfterTheLastRecordIsOutOfRange) {
    auto d = Crear(ConTiempos(5), 0, 4);
    Poner(d->HFS, "01"); // one second after the last record
    d->AcceptClick();
    EXPECT_EQ(UnicoError(), kFueraRango);
    // Ending exactly on the last record, to the second, is fine.
    EXPECT_EQ(d->HFS->text(), QStringLiteral("00"));
    d->AcceptClick();
    EXPECT_TRUE(testsupport::Messages::shown().empty());
    EXPECT_EQ(m_ultimo, 4);
}

TEST_F(MenuRang, DateModeNonNumericEditIsInvalid) {
    auto d = Crear(ConTiempos(5), 0, 4);
    Poner(d->FFM, "x");
    d->AcceptClick();
    EXPECT_EQ(UnicoError(), kInvalida);
    EXPECT_EQ(d->FFM->text(), QStringLiteral("x"));
}

TEST_F(MenuRang, DateModeEndBeforeStartHasBadMargins) {
    auto d = Crear(ConTiempos(5), 0, 4);
    Poner(d->HIH, "13");
    Poner(d->HFH, "11");
    d->AcceptClick();
    EXPECT_EQ(UnicoError(), kMargenes);
}

TEST_F(MenuRang, DateModePicksRecordsInsideTheTimes) {
    auto d = Crear(ConTiempos(5), 0, 4);
    // 10:30 to 13:59:59: the records at 11:00, 12:00 and 13:00.
    Poner(d->HIH, "10");
    Poner(d->HIM, "30");
    Poner(d->HFH, "13");
    Poner(d->HFM, "59");
    Poner(d->HFS, "59");
    d->AcceptClick();
    EXPECT_TRUE(testsupport::Messages::shown().empty());
    EXPECT_EQ(d->result(), QDialog::Accepted);
    EXPECT_EQ(m_primero, 1);
    EXPECT_EQ(m_ultimo, 3);
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

TEST_F(MenuRang, F1AsksForHelpContext74) {
    auto d = Crear(SinTiempos(3), 0, 2);
    testsupport::helpRequests().clear();
    QTest::keyClick(d.get(), Qt::Key_F1);
    ASSERT_EQ(testsupport::helpRequests().size(), 1u);
    EXPECT_EQ(testsupport::helpRequests().front(), 74);
}

TEST_F(MenuRang, NoRecordsDoesNotCrashAndRefusesAnyRange) {
    auto d = Crear({}, 0, 0);
    EXPECT_TRUE(d->ModoRegistros());
    d->AcceptClick();
    EXPECT_EQ(UnicoError(), kMargenes);
}
