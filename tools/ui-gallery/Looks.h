#pragma once

#include <QString>
#include <functional>
#include <vector>

#include "Gallery.h"
#include "Stage.h"

namespace orvane::gallery {

// Where a family of pictures is taken: which control, on which background.
struct Scene {
    QString family;  // file name prefix under controls/
    int backgroundPart;
    layout::Rect rect;
    int margin = Stage::kDefaultMargin;
    // The part of the background to show, when more than `rect` (an open
    // menu's surroundings); empty: `rect`.
    layout::Rect crop{0, 0, 0, 0};

    const layout::Rect& shown() const { return crop.w > 0 ? crop : rect; }
};

// One state of a control: how to put it there, and what the picture is called.
template <typename Control>
struct Look {
    QString name;
    QString caption;
    std::function<void(Control&)> prepare;
};

template <typename Control>
using Build = std::function<void(Control&)>;

// One picture per look, each on a fresh stage so that no state leaks from one
// look into the next. `popups` names the windows (menus) to compose over the
// stage after the look is prepared.
template <typename Control>
void shootLooks(Gallery& gallery, const Scene& scene, const Build<Control>& build,
                const std::vector<Look<Control>>& looks,
                const std::function<std::vector<QWidget*>(Control&)>& popups = {}) {
    for (const Look<Control>& look : looks) {
        Stage stage(scene.backgroundPart, scene.shown(), scene.margin);
        auto* control = stage.place<Control>(scene.rect);
        build(*control);
        settle();
        if (look.prepare) {
            look.prepare(*control);
        }
        const std::vector<QWidget*> shown = popups ? popups(*control) : std::vector<QWidget*>{};
        gallery.save(QStringLiteral("controls/%1-%2.png").arg(scene.family, look.name),
                     stage.grab(shown), look.caption);
    }
}

// The smallest layout rectangle holding both.
inline layout::Rect spanning(const layout::Rect& a, const layout::Rect& b) {
    const QRect joined = toQRect(a) | toQRect(b);
    return {joined.x(), joined.y(), joined.width(), joined.height()};
}

}  // namespace orvane::gallery
