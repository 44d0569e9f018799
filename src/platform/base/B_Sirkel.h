#pragma once
// A circle: centre point and signed radius (0 for none).

#include "platform/base/DT_Double.h"
#include "platform/base/DT_Punkt.h"

class B_Sirkel : public HovedObjekt {
public:
    B_Sirkel() = default;
    B_Sirkel(const DT_Punkt& centre, double radius) : centre_(centre), radius_(radius) {}
    const char* KlasseNavn() const override { return "B_Sirkel"; }

    // Accessors: a non-null argument sets the value; the stored value is returned.
    DT_Punkt* Senter(const DT_Punkt* newValue = nullptr) {
        if (newValue != nullptr)
            centre_.Init(*newValue);
        return &centre_;
    }
    DT_Double* Radius(const DT_Double* newValue = nullptr) {
        if (newValue != nullptr)
            radius_.Init(newValue->Get());
        return &radius_;
    }

private:
    DT_Punkt centre_;
    DT_Double radius_;
};
