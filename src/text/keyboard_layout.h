#pragma once

#include <QObject>
#include <QString>

namespace verdan {

// The active keyboard input language. Reading a name gives the input language as it was when the object
// was made or last switched; setting one to a non-blank value asks for the input language of that name
// (compared after trimming, letter case ignored) and then signals OnChange. Desktop Linux offers no
// program-driven switching of the input language, so there the request only refreshes the names.
class TKeyboardLayout : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString LayoutName READ LayoutName WRITE SetLayoutName NOTIFY OnChange)
    Q_PROPERTY(QString LocalizedName READ LocalizedName WRITE SetLocalizedName NOTIFY OnChange)
    Q_PROPERTY(QString EnglishName READ EnglishName WRITE SetEnglishName NOTIFY OnChange)
    Q_PROPERTY(QString AbbreviatedName READ AbbreviatedName WRITE SetAbbreviatedName NOTIFY OnChange)
    Q_PROPERTY(QString NativeName READ NativeName WRITE SetNativeName NOTIFY OnChange)

public:
    explicit TKeyboardLayout(QObject* parent = nullptr);

    // The locale identifier of the input language ("ar_SA").
    QString LayoutName() const { return layoutName_; }
    // Its name in the system's language.
    QString LocalizedName() const { return localizedName_; }
    QString EnglishName() const { return englishName_; }
    // The three-letter language code ("ara").
    QString AbbreviatedName() const { return abbreviatedName_; }
    QString NativeName() const { return nativeName_; }

    void SetLayoutName(const QString& value);
    void SetLocalizedName(const QString& value);
    void SetEnglishName(const QString& value);
    void SetAbbreviatedName(const QString& value);
    void SetNativeName(const QString& value);

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
