// ViewerSetup.vlk through its exported factory: the graph selector's result rows and the
// graph configurator's edits and snapshot.

#include "FakeDrivers.h"
#include "FakeWindowDriver.h"
#include "ModuleEntries.h"
#include "ModuleLoader.h"
#include "SourceCatalog.h"
#include "TestEnvironment.h"

#include <QComboBox>
#include <QDialog>
#include <QLibrary>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace {

using fakes::DataDriver;
using fakes::SourceDriver;

class ViewerSetupModule : public testing::Test {
protected:
    void SetUp() override {
        QString error;
        library = host::loadModule(QStringLiteral("ViewerSetup.vlk"), &error);
        ASSERT_TRUE(library) << error.toStdString();
        factory = reinterpret_cast<ViewerSetupFn>(host::resolveEntry(library.get(), "_DameObjeto"));
        ASSERT_NE(factory, nullptr);

        // Counters (kind 7) have no graph window: listed, but never chosen.
        meter.variables = {fakes::var(1, 10, 5, 100, "Voltage L1", "V"),
                           fakes::var(1, 11, 3, 200, "Harmonics", "%V"),
                           fakes::var(1, 12, 7, 400, "Counters", "")};
        flicker.variables = {fakes::var(2, 20, 14, 300, "Plt L1", "")};
        source.setFiles({"METER.STD", "FLICKER.STD", "BROKEN.STD"}, {&meter, &flicker, nullptr});
    }

    // Sends the caption and runs the dialog as the engine does.
    TValorMultiple runSelector(const char* caption) {
        ObjGen* object = factory(nullptr, nullptr, -3, &source);
        auto* dialog = dynamic_cast<DrivFlex*>(object);
        EXPECT_NE(dialog, nullptr);
        TValorMultiple scratch, result;
        if (dialog == nullptr)
            return result;
        Comando title(402);
        title.EntrarParam(TValor::Texto(caption));
        dialog->ProgCom(&title, &scratch, 0, nullptr);
        dialog->Iniciar();
        Comando run(400);
        dialog->ProgCom(&run, &result, 0, nullptr);
        if (dialog->DecRef() != 0)
            delete dialog;
        return result;
    }

    // The module carries its own copy of the dialog classes, so widgets are found by name.
    static QTreeWidget* variables(QDialog& d) {
        return d.findChild<QTreeWidget*>(QStringLiteral("Variables"));
    }

    std::unique_ptr<QLibrary> library;
    ViewerSetupFn factory = nullptr;
    DataDriver meter, flicker;
    SourceDriver source;
};

TEST_F(ViewerSetupModule, SelectorReturnsOneTriplePerCheckedVariableInOneIntegerRowOrNothingOnCancel) {
    testsupport::Dialogs::handleNext([](QDialog& d) {
        for (QPushButton* b : d.findChildren<QPushButton*>())
            if (b->text() == QLatin1String("Select &all"))
                b->click();
        return int(QDialog::Accepted);
    });
    const TValorMultiple result = runSelector("Graph Selector");
    ASSERT_EQ(result.Cuenta(), 1);
    ASSERT_EQ(result.Tipo(0), TV_ENTERO);
    ASSERT_EQ(result.Elementos(0), 9);
    EXPECT_EQ(std::vector<int>(result.Enteros(0), result.Enteros(0) + 9),
              (std::vector<int>{0, 1, 10, 0, 1, 11, 1, 2, 20}));

    // Cancel appends nothing; every file is listed, even one that cannot be read; a file's
    // box does not reach the counters either.
    QStringList seen;
    Qt::CheckState counters = Qt::PartiallyChecked;
    testsupport::Dialogs::handleNext([&](QDialog& d) {
        QTreeWidget* tree = variables(d);
        for (int f = 0; f < tree->topLevelItemCount(); ++f)
            seen << QStringLiteral("%1:%2")
                        .arg(tree->topLevelItem(f)->text(0))
                        .arg(tree->topLevelItem(f)->childCount());
        tree->topLevelItem(0)->setCheckState(0, Qt::Checked);
        counters = tree->topLevelItem(0)->child(2)->checkState(0);
        return int(QDialog::Rejected);
    });
    EXPECT_EQ(runSelector("x").Cuenta(), 0);
    EXPECT_EQ(seen, QStringList({"METER.STD:3", "FLICKER.STD:1", "BROKEN.STD:0"}));
    EXPECT_EQ(counters, Qt::Unchecked);
    EXPECT_EQ(factory(nullptr, nullptr, 7, &source), nullptr) << "an unknown mode gives no object";
    // Every data driver handed out by command 306 was released again.
    EXPECT_EQ(meter.Referencias(), 1);
    EXPECT_EQ(flicker.Referencias(), 1);
    EXPECT_GE(source.requests(), 3);
}

TEST(SourceCatalog, SkipsMalformedVariableRowsAndIgnoresSourcesWithoutFilesPage) {
    class Garbled : public DrivFlex {
    protected:
        int AtenderComando(Comando*, TValorMultiple* r, int, ObjGen*) override {
            r->EntrarTexto("stray name");
            r->EntrarEnteros({1, 2}); // too short for a variable
            r->EntrarEnteros({3, 4, 0, 9});
            r->EntrarTexto("Good");
            r->EntrarDoubles({1.0}); // unit missing: a number instead
            r->EntrarEnteros({5, 6, 4, 10});
            return 6;
        }
    } garbled;
    const auto vars = SourceCatalog::variables(&garbled);
    ASSERT_EQ(vars.size(), 2u);
    EXPECT_EQ(vars[0].key1, 3);
    EXPECT_EQ(vars[0].name, QStringLiteral("Good"));
    EXPECT_TRUE(vars[0].unit.isEmpty());
    EXPECT_EQ(vars[1].kind, 4);
    EXPECT_TRUE(vars[1].name.isEmpty());

    DrivFlex empty;
    EXPECT_EQ(SourceCatalog::filesPage(&empty), -1);
    EXPECT_TRUE(SourceCatalog::read(&empty).empty());
    EXPECT_TRUE(SourceCatalog::read(nullptr).empty());
}

class ConfiguratorModule : public ViewerSetupModule {
protected:
    // Controls are named "page<P>.property<I>".
    struct Editor {
        QDialog& dialog;
        QWidget* editorFor(int page, int property) const {
            return dialog.findChild<QWidget*>(QStringLiteral("page%1.property%2").arg(page).arg(property));
        }
        QTabWidget* tabs() const { return dialog.findChild<QTabWidget*>(); }
    };

    void open(const std::function<int(Editor&)>& edit) {
        testsupport::Dialogs::handleNext([edit](QDialog& d) {
            Editor editor{d};
            return editor.tabs() ? edit(editor) : int(QDialog::Rejected);
        });
        ObjGen* object = factory(nullptr, nullptr, 5, &window);
        auto* configurator = dynamic_cast<DrivFlex*>(object);
        ASSERT_NE(configurator, nullptr);
        TValorMultiple scratch;
        Comando title(402);
        title.EntrarParam(TValor::Texto("Graph Configurator"));
        configurator->ProgCom(&title, &scratch, 0, nullptr);
        EXPECT_EQ(scratch.Cuenta(), 0);
        if (configurator->DecRef() != 0)
            delete configurator;
    }

    static void type(QWidget* field, const QString& text) {
        auto* edit = qobject_cast<QLineEdit*>(field);
        ASSERT_NE(edit, nullptr);
        edit->selectAll();
        QTest::keyClicks(edit, text);
        QTest::keyClick(edit, Qt::Key_Return);
    }

    static void choose(QWidget* field, int option) {
        auto* combo = qobject_cast<QComboBox*>(field);
        ASSERT_NE(combo, nullptr);
        combo->setCurrentIndex(option);
        emit combo->activated(option);
    }

    fakes::WindowDriver window;
};

TEST_F(ConfiguratorModule, EditsReachTheDriverAtOnceAfterTheOpeningSnapshotAndCancelRestores) {
    int tabs = 0;
    QString shown;
    std::vector<std::string> logWhileOpen;
    open([&](Editor& editor) {
        tabs = editor.tabs()->count();
        choose(editor.editorFor(0, 2), 2);
        type(editor.editorFor(0, 1), QStringLiteral("Feeder 3"));
        choose(editor.editorFor(1, 0), 3);
        // Leaving a field untouched writes nothing.
        emit qobject_cast<QLineEdit*>(editor.editorFor(0, 0))->editingFinished();
        // The editor shows the text the driver kept.
        type(editor.editorFor(0, 1), QStringLiteral("A title far longer than ten"));
        shown = qobject_cast<QLineEdit*>(editor.editorFor(0, 1))->text();
        logWhileOpen = window.log;
        return int(QDialog::Accepted);
    });
    EXPECT_EQ(tabs, 2); // the hidden page is not offered
    EXPECT_EQ(shown, QStringLiteral("A title fa"));
    const std::vector<std::string> expected = {"save", "set-value 0 2 2", "set-text 0 1 Feeder 3",
                                               "set-value 1 0 3", "set-text 0 1 A title fa"};
    EXPECT_EQ(logWhileOpen, expected);
    EXPECT_EQ(window.log, expected); // OK keeps the edits: no restore

    open([&](Editor& editor) {
        choose(editor.editorFor(1, 0), 0);
        return int(QDialog::Rejected);
    });
    EXPECT_EQ(window.log.back(), "restore");
    EXPECT_EQ(window.values[std::make_pair(1, 0)], 3);
}

} // namespace
