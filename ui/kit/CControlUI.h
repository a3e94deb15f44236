#pragma once

#include "ui/kit/KitDefs.h"

#include <QMargins>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <QString>

#include <functional>
#include <memory>

class CPaintManagerUI;
class CContainerUI;
class QPainter;
class QWidget;

// Base of every control: a named element of a window's layout wrapping one
// real widget. The control keeps its own state (text, colours, sizes); the
// widget is created on first use and shows that state. Rectangles are in the
// window's client coordinates.
//
// Painting: widgets of painted controls (labels, buttons, containers) call
// DoPaint with a painter whose coordinates are the window's client
// coordinates, so the Paint* hooks draw at GetPos(). A container subclass can
// override PaintText / PaintBorder to add its own caption and frame.
//
// SetText may be called from any thread: off the GUI thread the change is
// posted to it and dropped if the control is gone by then.
class CControlUI {
public:
    CControlUI();
    virtual ~CControlUI();
    CControlUI(const CControlUI&) = delete;
    CControlUI& operator=(const CControlUI&) = delete;

    // "Control" for the plain control; each subclass answers its layout tag.
    virtual QString GetClass() const;
    // This control when it is of the named kind ("Control", "Label", ...).
    virtual CControlUI* GetInterface(const QString& name);

    QString GetName() const { return m_sName; }
    void SetName(const QString& name);
    virtual QString GetText() const;
    virtual void SetText(const QString& text);
    QString GetToolTip() const { return m_sToolTip; }
    void SetToolTip(const QString& text);

    CPaintManagerUI* GetManager() const { return m_pManager; }
    CControlUI* GetParent() const { return m_pParent; }

    // Position in the window's client coordinates, as the layout placed it.
    QRect GetPos() const { return m_rcItem; }
    // Places the control (used by the layouts; containers lay out children).
    virtual void SetPos(const QRect& rc);

    bool IsVisible() const { return m_bVisible; }
    virtual void SetVisible(bool visible = true);
    bool IsEnabled() const { return m_bEnabled; }
    virtual void SetEnabled(bool enabled = true);
    // Asks for a repaint of the control.
    void Invalidate();

    // Colours are 0xAARRGGBB; 0 means "not set".
    DWORD GetBkColor() const { return m_dwBkColor; }
    void SetBkColor(DWORD color);
    DWORD GetBorderColor() const { return m_dwBorderColor; }
    void SetBorderColor(DWORD color);
    int GetBorderSize() const { return m_nBorderSize; }
    void SetBorderSize(int size);
    // Corner rounding: cx horizontal, cy vertical radius ("borderround").
    QSize GetBorderRound() const { return m_szBorderRound; }
    void SetBorderRound(const QSize& cxcy);
    // The colour as drawn; the kit applies no colour adjustment.
    DWORD GetAdjustColor(DWORD color) const { return color; }
    QString GetBkImage() const { return m_sBkImage; }
    void SetBkImage(const QString& image);

    // Layout hints. A fixed size of 0 means "stretch".
    int GetFixedWidth() const { return m_cxyFixed.width(); }
    void SetFixedWidth(int cx);
    int GetFixedHeight() const { return m_cxyFixed.height(); }
    void SetFixedHeight(int cy);
    QMargins GetPadding() const { return m_rcPadding; }
    void SetPadding(const QMargins& padding);
    bool IsFloat() const { return m_bFloat; }
    void SetFloat(bool isFloat = true);
    // Position of a floating control, relative to its parent's top-left.
    QRect GetFloatPos() const { return m_rcFloat; }
    void SetFloatPos(const QRect& rc);

    // One layout attribute. Unknown names are ignored. See LAYOUT.md.
    virtual void SetAttribute(const QString& name, const QString& value);

    // Painting, in window client coordinates (see class comment).
    virtual void DoPaint(QPainter& painter);
    virtual void PaintBkColor(QPainter& painter);
    virtual void PaintBkImage(QPainter& painter);
    virtual void PaintStatusImage(QPainter& painter);
    virtual void PaintText(QPainter& painter);
    virtual void PaintBorder(QPainter& painter);

    // The real widget, created on first call (GUI thread only). Kit and
    // test code only: the program talks to the control.
    QWidget* GetWidget();
    // The widget if it exists and is alive, else null; never creates one.
    QWidget* PeekWidget() const;

    // Set by the container / builder when the control joins a window.
    virtual void SetManager(CPaintManagerUI* manager, CControlUI* parent);

protected:
    // Creates the widget of this kind of control; the base gives a plain
    // painted widget. Called once, on the GUI thread.
    virtual QWidget* CreateWidget();
    // Applies the control's state to a freshly created widget.
    virtual void ApplyStateToWidget(QWidget* widget);
    // Called on the GUI thread after the text changed.
    virtual void OnTextChanged();

    // Runs `fn` now on the GUI thread, or posts it there (dropped when this
    // control is gone by then). For setters that workers may call.
    bool PostToGuiThreadIfNeeded(std::function<void()> fn);

    QString m_sName;
    QString m_sText;
    QString m_sToolTip;
    QString m_sBkImage;
    CPaintManagerUI* m_pManager = nullptr;
    CControlUI* m_pParent = nullptr;
    QRect m_rcItem;
    QRect m_rcFloat;
    QSize m_cxyFixed;
    QMargins m_rcPadding;
    QSize m_szBorderRound;
    DWORD m_dwBkColor = 0;
    DWORD m_dwBorderColor = 0;
    int m_nBorderSize = 0;
    bool m_bVisible = true;
    bool m_bEnabled = true;
    bool m_bFloat = false;

private:
    QPointer<QWidget> m_pWidget;
    // Cleared when the control dies, so that work posted from other threads
    // for it is dropped.
    std::shared_ptr<CControlUI*> m_pAlive;
};
