#pragma once
// Puts the process (C library and Qt's default) into a German locale, where
// the decimal separator is a comma, for the lifetime of the object.

#include <QLocale>
#include <clocale>
#include <string>

class CommaLocaleGuard {
public:
    CommaLocaleGuard()
    {
        previous_ = std::setlocale(LC_ALL, nullptr);
        active_ = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    }
    ~CommaLocaleGuard()
    {
        std::setlocale(LC_ALL, previous_.c_str());
        QLocale::setDefault(QLocale::c());
    }
    CommaLocaleGuard(const CommaLocaleGuard&) = delete;
    CommaLocaleGuard& operator=(const CommaLocaleGuard&) = delete;

    // False when the system lacks the locale (scripts/install-deps makes it).
    bool Active() const { return active_; }

private:
    std::string previous_;
    bool active_ = false;
};
