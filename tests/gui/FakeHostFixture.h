#pragma once

// The host's main window on a fake recording source and the fake engine module, with a plain
// widget standing in for a graph window whose driver the test holds.

#include "FakeEngine.h"
#include "FakeRecordingSource.h"
#include "FakeWindowDriver.h"
#include "HostDirectory.h"
#include "MainWindow.h"
#include "ModuleLoader.h"

#include <QLibrary>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

class FakeHost : public testing::Test {
protected:
    void SetUp() override {
        host::HostDirectory::setModuleDirectory(QStringLiteral(FAKE_ENGINE_DIR));
        auto owned = std::make_unique<FakeRecordingSource>();
        files = owned.get();
        window = std::make_unique<MainWindow>(std::move(owned));
        window->setDriverLookup([this](QWidget* w) -> DrivFlex* {
            return w != nullptr && w == graph ? static_cast<DrivFlex*>(windowDriver.IncRef()) : nullptr;
        });
        window->resize(1000, 700);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        engine = host::loadModule(QStringLiteral("PlotCore.vlk"));
        ASSERT_TRUE(engine);
        auto stateFn =
            reinterpret_cast<FakeEngineStateFn>(host::resolveEntry(engine.get(), "fakeEngineState"));
        ASSERT_NE(stateFn, nullptr);
        state = stateFn();
        *state = FakeEngineState{};
    }
    void TearDown() override {
        window.reset();
        if (state != nullptr)
            *state = FakeEngineState{};
        host::HostDirectory::setModuleDirectory(QString());
    }

    // A plain widget standing for a graph window in the MDI area, made active.
    QMdiSubWindow* addGraph() {
        graph = new QWidget;
        QMdiSubWindow* sub = window->mdiArea()->addSubWindow(graph);
        sub->show();
        window->mdiArea()->setActiveSubWindow(sub);
        return sub;
    }

    FakeRecordingSource* files = nullptr;
    std::unique_ptr<MainWindow> window;
    std::unique_ptr<QLibrary> engine;
    FakeEngineState* state = nullptr;
    fakes::WindowDriver windowDriver;
    QWidget* graph = nullptr;
};
