#include "base/qt/QtHintTiming.h"

#include <QApplication>
#include <QEvent>
#include <QProxyStyle>
#include <QWidget>

namespace orbisk {
namespace {

class HintStyle final : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* data) const override {
        if (hint == QStyle::SH_ToolTip_WakeUpDelay) return kHintShowPause;
        return QProxyStyle::styleHint(hint, option, widget, data);
    }
};

// Dialogs are made when they are needed, so the hiding pause is given to each control the
// first time it is about to show its hint, not once at start-up.
class HintDuration final : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::ToolTip && watched->isWidgetType()) {
            auto* widget = static_cast<QWidget*>(watched);
            if (widget->toolTipDuration() < 0) widget->setToolTipDuration(kHintHidePause);
        }
        return false;
    }
};

}  // namespace

void InstallHintTiming(QApplication& app) {
    QApplication::setStyle(new HintStyle);
    app.installEventFilter(new HintDuration(&app));
}

}  // namespace orbisk
