#pragma once
// Root of the base component's objects: a class name and type for the lists, and an error code.

class HovedObjekt {
public:
    HovedObjekt() = default;
    HovedObjekt(const HovedObjekt&) = default;
    HovedObjekt& operator=(const HovedObjekt&) = default;
    virtual ~HovedObjekt() = default;

    virtual const char* KlasseNavn() const { return "HovedObjekt"; }
    virtual int KlasseType() const { return 0; }

    // Records an error code (small negative numbers by convention, 0 for none) and returns it, so
    // that an operation can end with `return ErrorKode(-1);`.
    int ErrorKode(int code) {
        errorCode_ = code;
        return code;
    }
    int ErrorKode() const { return errorCode_; }

private:
    int errorCode_ = 0;
};

// Class types of the base component. Polyline elements use 102, tier-table elements 3500.
namespace rigel::klasse {
inline constexpr int Double = 11;
inline constexpr int Int = 12;
inline constexpr int Punkt = 13;
inline constexpr int Streng = 14;
inline constexpr int Nodeliste = 20;
inline constexpr int PointList = 21;
inline constexpr int IntListe = 22;
inline constexpr int DoubleListe = 23;
inline constexpr int StrengListe = 24;
} // namespace rigel::klasse
