#pragma once

#include <QProxyStyle>

// The platform's style, with the OK and Cancel of dialogs as words only.
// Where the desktop gives buttons icons, finding them in the icon theme took
// as long as building the whole main window, and the layout question that
// comes first at every start paid for it.
class PlainButtonStyle final : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option = nullptr, const QWidget* widget = nullptr,
                  QStyleHintReturn* returnData = nullptr) const override;
};
