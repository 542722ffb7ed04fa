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
        previousC_ = std::setlocale(LC_ALL, nullptr);
        active_ = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    }
    ~CommaLocaleGuard()
    {
        std::setlocale(LC_ALL, previousC_.c_str());
        QLocale::setDefault(previous_);
    }
    CommaLocaleGuard(const CommaLocaleGuard&) = delete;
    CommaLocaleGuard& operator=(const CommaLocaleGuard&) = delete;

    // False when the system lacks the locale (scripts/install-deps makes it).
    bool Active() const { return active_; }

private:
    QLocale previous_;
    std::string previousC_;
    bool active_ = false;
};
