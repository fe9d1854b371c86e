#pragma once

#include <QChar>
#include <QString>
#include <QStringList>

// What the ring form does for a country code that follows a known ring layout: the registration
// letters it allows, the field lengths and the hint on the letter field.
struct CountryEntryAid {
    enum class Letters {
        Free,        // any letters, the form's own limits
        Dash,        // set to "-" and locked
        NorthSouth,  // "N" or "S"
        AToZ,        // "A" to "Z"
        AToZOrDash,  // "A" to "Z" or "-"
        NehuCode,    // one of the NEHU codes, checked on leaving the field
    };
    Letters letters = Letters::Free;
    int letterLength = 0;  // 0: the form's own limit
    int numberLength = 0;  // 0: the form's own limit
    QString hint;          // empty: none
};

CountryEntryAid countryEntryAid(const QString& country);

// Whether a key typed into the letter field is accepted (already upper-cased).
bool letterKeyAllowed(const CountryEntryAid& aid, QChar key);

// The 39 registration letter codes of NEHU.
const QStringList& nehuCodes();

// Whether a ring number of this layout needs registration letters typed: true where the letters
// are typed from a set ("N" or "S", "A" to "Z", the NEHU codes); false where they are free or
// preset to "-".
bool lettersRequired(const CountryEntryAid& aid);

// Whether the letter field may be left with `letters`: always, except for NEHU, whose letters
// must be one of its codes.
bool lettersAcceptedOnLeaving(const CountryEntryAid& aid, const QString& letters);

inline constexpr const char* RegistrationLetterError = "Registration Letter Input Error!";
