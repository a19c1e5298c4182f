#include "keyboard_groups_x11.h"

#include "text/keyboard_layout.h"

#include <QGuiApplication>
#include <QStringList>

#ifdef VERDAN_HAVE_X11
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>
#endif

namespace verdan {

#ifdef VERDAN_HAVE_X11

namespace {

// The short layout names of the groups, in group order, from the symbols name the server keeps
// ("pc+us+ara:2+inet(evdev)+group(alt_shift_toggle)").
QStringList LayoutCodes(const QString& symbols, int groups) {
    QStringList codes(groups);
    int next = 0;
    for (const QString& part : symbols.split(u'+')) {
        QString name = part.section(u'(', 0, 0);
        int group = next;
        if (name.contains(u':')) {
            group = name.section(u':', 1).toInt() - 1;
            name = name.section(u':', 0, 0);
        } else if (next >= groups) {
            continue;
        }
        // Parts that hold no layout: the base keys, the extra keys and the options.
        static const QStringList kNotLayouts = {QStringLiteral("pc"),        QStringLiteral("inet"),
                                                QStringLiteral("group"),     QStringLiteral("level3"),
                                                QStringLiteral("terminate"), QStringLiteral("keypad")};
        if (name.isEmpty() || kNotLayouts.contains(name) || group < 0 || group >= groups)
            continue;
        codes[group] = name;
        if (!part.contains(u':'))
            ++next;
    }
    return codes;
}

// Whether the group types Latin letters: the key of the first letter of the home row says so.
bool TypesLatin(Display* display, XkbDescPtr keyboard, int group) {
    for (int code = keyboard->min_key_code; code <= keyboard->max_key_code; ++code) {
        if (qstrncmp(keyboard->names->keys[code].name, "AC01", XkbKeyNameLength) != 0)
            continue;
        const KeySym symbol = XkbKeycodeToKeysym(display, KeyCode(code), group, 0);
        return (symbol >= XK_A && symbol <= XK_Z) || (symbol >= XK_a && symbol <= XK_z) ||
               (symbol >= 0xC0 && symbol <= 0xFF);
    }
    return false;
}

class TX11KeyboardGroups final : public TKeyboardGroups {
public:
    explicit TX11KeyboardGroups(Display* display) : display_(display) {}
    ~TX11KeyboardGroups() override { XCloseDisplay(display_); }

    // Read each time: the user may change the layouts while the program runs.
    QList<TKeyboardGroup> Groups() override {
        QList<TKeyboardGroup> groups;
        XkbDescPtr keyboard = XkbGetMap(display_, 0, XkbUseCoreKbd);
        if (!keyboard)
            return groups;
        if (XkbGetControls(display_, XkbAllControlsMask, keyboard) == Success &&
            XkbGetNames(display_, XkbSymbolsNameMask | XkbGroupNamesMask | XkbKeyNamesMask, keyboard) ==
                Success &&
            keyboard->names && keyboard->ctrls) {
            const int count = keyboard->ctrls->num_groups;
            QString symbols;
            if (keyboard->names->symbols != None) {
                char* name = XGetAtomName(display_, keyboard->names->symbols);
                symbols = QString::fromLatin1(name);
                XFree(name);
            }
            const QStringList codes = LayoutCodes(symbols, count);
            for (int i = 0; i < count; ++i) {
                TKeyboardGroup group;
                if (keyboard->names->groups[i] != None) {
                    char* name = XGetAtomName(display_, keyboard->names->groups[i]);
                    group.name = QString::fromUtf8(name);
                    XFree(name);
                }
                group.code = codes.value(i);
                group.latin = TypesLatin(display_, keyboard, i);
                groups << group;
            }
        }
        XkbFreeKeyboard(keyboard, 0, True);
        return groups;
    }

    int Current() override {
        XkbStateRec state;
        return XkbGetState(display_, XkbUseCoreKbd, &state) == Success ? state.group : -1;
    }

    void Activate(int index) override {
        XkbLockGroup(display_, XkbUseCoreKbd, unsigned(index));
        XSync(display_, False);
    }

private:
    Display* display_;
};

} // namespace

void InstallDesktopKeyboardGroups() {
    // Only an X11 display lets a program choose the layout; Wayland keeps that to the desktop.
    if (QGuiApplication::platformName() != u"xcb")
        return;
    int event = 0, error = 0, major = XkbMajorVersion, minor = XkbMinorVersion;
    Display* display = XkbOpenDisplay(nullptr, &event, &error, &major, &minor, nullptr);
    if (!display)
        return;
    static TX11KeyboardGroups groups(display);
    InstallKeyboardGroups(&groups);
}

#else

void InstallDesktopKeyboardGroups() {
}

#endif

} // namespace verdan
