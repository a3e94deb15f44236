#pragma once

#include "tests/ui/kit/KitTestWindow.h"
#include "ui/kit/CPaintManagerUI.h"
#include "ui/kit/KitTestSupport.h"

#include <gtest/gtest.h>

#include <QString>

#include <memory>

// Opens a KitTestWindow on the test layouts, shown and active.
class KitWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_previousPath = CPaintManagerUI::GetResourcePath();
        CPaintManagerUI::SetResourcePath(QStringLiteral(KIT_TEST_LAYOUTS));
    }

    void TearDown() override
    {
        if (m_window && m_window->GetHWND())
            m_window->SendMessage(WM_CLOSE);
        m_window.reset();
        kit::test::ProcessEvents();
        CPaintManagerUI::SetResourcePath(m_previousPath);
    }

    KitTestWindow& OpenWindow(const QString& skin = QStringLiteral("Probe.xml"))
    {
        m_window = std::make_unique<KitTestWindow>(skin);
        m_window->Create(nullptr, QStringLiteral("probe"), UI_WNDSTYLE_FRAME, 0);
        m_window->ShowWindow(true, true);
        kit::test::WaitUntil([this] { return kit::test::WindowHasFocus(m_window->GetHWND()); }, 2000);
        return *m_window;
    }

    template <typename T>
    T* Find(const QString& name)
    {
        return dynamic_cast<T*>(m_window->FindControl(name));
    }

    std::unique_ptr<KitTestWindow> m_window;

private:
    QString m_previousPath;
};
