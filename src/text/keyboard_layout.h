#pragma once

#include <QList>
#include <QObject>
#include <QString>

namespace verdan {

// One keyboard layout the desktop offers.
struct TKeyboardGroup {
    QString name;       // as the desktop names it: "English (US)", "Arabic"
    QString code;       // the layout's short name: "us", "ara"
    bool latin = false; // it types Latin letters
};

// The layouts the desktop offers and the one in use, where a program may switch them (the X11 keyboard
// groups). The desktop program installs them; without them the keyboard is never switched (a Wayland
// desktop lets no program switch it).
class TKeyboardGroups {
public:
    virtual ~TKeyboardGroups() = default;
    virtual QList<TKeyboardGroup> Groups() = 0;
    virtual int Current() = 0;
    virtual void Activate(int index) = 0;
};

// Installs `groups` (owned by the caller, alive while installed); nullptr removes them. Returns the ones
// installed before.
TKeyboardGroups* InstallKeyboardGroups(TKeyboardGroups* groups);

// The layout a name asks for, compared after trimming and letter case ignored: the layout of that very
// name; else one of that language ("Arabic" finds "Arabic (Syria)" and the layout "ara"); else, for
// "English", which dates and numbers ask for, any Latin layout. -1 when the desktop has none.
int FindKeyboardGroup(const QList<TKeyboardGroup>& groups, const QString& name);

// The active keyboard input language. Reading a name gives the input language as it was when the object
// was made or last switched; setting one to a non-blank value switches to the layout of that name (see
// FindKeyboardGroup) when the desktop offers one, and then signals OnChange. Without switchable layouts
// the names describe the input method's language and a request changes nothing.
class TKeyboardLayout : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString LayoutName READ LayoutName WRITE SetLayoutName NOTIFY OnChange)
    Q_PROPERTY(QString LocalizedName READ LocalizedName WRITE SetLocalizedName NOTIFY OnChange)
    Q_PROPERTY(QString EnglishName READ EnglishName WRITE SetEnglishName NOTIFY OnChange)
    Q_PROPERTY(QString AbbreviatedName READ AbbreviatedName WRITE SetAbbreviatedName NOTIFY OnChange)
    Q_PROPERTY(QString NativeName READ NativeName WRITE SetNativeName NOTIFY OnChange)

public:
    explicit TKeyboardLayout(QObject* parent = nullptr);

    // The locale identifier of the input language ("ar_SA"), or the layout's short name ("ara").
    QString LayoutName() const { return layoutName_; }
    // Its name in the system's language.
    QString LocalizedName() const { return localizedName_; }
    // Its English name ("Arabic"), or the layout's own name ("English (US)").
    QString EnglishName() const { return englishName_; }
    // The three-letter language code ("ara").
    QString AbbreviatedName() const { return abbreviatedName_; }
    QString NativeName() const { return nativeName_; }

    void SetLayoutName(const QString& value);
    void SetLocalizedName(const QString& value);
    void SetEnglishName(const QString& value);
    void SetAbbreviatedName(const QString& value);
    void SetNativeName(const QString& value);

    // Whether the desktop offers a layout that the name asks for, to switch to it and back.
    bool Offers(const QString& name) const;

signals:
    void OnChange();

private:
    void Switch(const QString& value);
    void Refresh();

    QString layoutName_;
    QString localizedName_;
    QString englishName_;
    QString abbreviatedName_;
    QString nativeName_;
};

} // namespace verdan
