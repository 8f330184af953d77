#include "MenuMnemonics.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QSet>

namespace kelvara {

namespace {

// The caption with "&" before the chosen letter; unchanged when it has one or none is free.
QString WithMnemonic(const QString& text, QSet<QChar>& taken) {
    if (text.contains(QLatin1Char('&'))) {
        return text;
    }
    auto free = [&](qsizetype i) {
        return text[i].isLetterOrNumber() && !taken.contains(text[i].toLower());
    };
    qsizetype chosen = -1;
    for (qsizetype i = 0; i < text.size() && chosen < 0; ++i) {
        if ((i == 0 || text[i - 1].isSpace()) && free(i)) {
            chosen = i;
        }
    }
    for (qsizetype i = 0; i < text.size() && chosen < 0; ++i) {
        if (free(i)) {
            chosen = i;
        }
    }
    if (chosen < 0) {
        return text;
    }
    taken.insert(text[chosen].toLower());
    QString marked = text;
    marked.insert(chosen, QLatin1Char('&'));
    return marked;
}

void AssignInMenu(const QList<QAction*>& actions) {
    QSet<QChar> taken;
    for (const QAction* action : actions) {
        const QString text = action->text();
        const qsizetype amp = text.indexOf(QLatin1Char('&'));
        if (amp >= 0 && amp + 1 < text.size()) {
            taken.insert(text[amp + 1].toLower());
        }
    }
    for (QAction* action : actions) {
        if (!action->isSeparator() && !action->text().isEmpty()) {
            action->setText(WithMnemonic(action->text(), taken));
        }
        if (QMenu* menu = action->menu()) {
            AssignInMenu(menu->actions());
        }
    }
}

} // namespace

void AssignMnemonics(QMenuBar* bar) {
    AssignInMenu(bar->actions());
}

} // namespace kelvara
