#include "elements/TierTabElementSporop.h"

#include "platform/base/TextFormat.h"
#include "platform/base/TextScan.h"

DT_Double* TierTabElementSporop::OrigStartSTA(const DT_Double* newValue) {
    if (newValue != nullptr)
        origStartSTA_.Init(newValue->Get());
    return &origStartSTA_;
}

DT_Double* TierTabElementSporop::OrigEndSTA(const DT_Double* newValue) {
    if (newValue != nullptr)
        origEndSTA_.Init(newValue->Get());
    return &origEndSTA_;
}

std::string TierTabElementSporop::ProjectFileLine() const {
    return rigel::Format(kLineFormat, ElementNumber()->Get(), H1.Get(), H2.Get(), h1.Get(),
                         h2.Get(), vReq.Get(), v.Get(), Locked.Get(), IntAux.Get(), Code1, Code2,
                         Code3, origStartSTA_.Get(), origEndSTA_.Get());
}

int TierTabElementSporop::GetProjectFileLine(Streng* line) const {
    if (line == nullptr)
        return 0;
    return line->Set(ProjectFileLine());
}

int TierTabElementSporop::ReadProjectFileLine(std::string_view line) {
    // Scanned into copies of the current values, so that fields after the last one the line
    // gives keep theirs.
    int number = ElementNumber()->Get();
    double cantH1 = H1.Get(), cantH2 = H2.Get(), canth1 = h1.Get(), canth2 = h2.Get();
    int speedReq = vReq.Get(), speed = v.Get(), locked = Locked.Get(), aux = IntAux.Get();
    int code1 = Code1, code2 = Code2, code3 = Code3;
    double origStart = origStartSTA_.Get(), origEnd = origEndSTA_.Get();
    const int count =
        rigel::Scan(line, kScanFormat, &number, &cantH1, &cantH2, &canth1, &canth2, &speedReq,
                    &speed, &locked, &aux, &code1, &code2, &code3, &origStart, &origEnd);
    H1.Init(cantH1);
    H2.Init(cantH2);
    h1.Init(canth1);
    h2.Init(canth2);
    vReq.Init(speedReq);
    v.Init(speed);
    Locked.Init(locked);
    IntAux.Init(aux);
    Code1 = code1;
    Code2 = code2;
    Code3 = code3;
    if (count < kValuesWithStations) {
        origStartSTA_.Init(StartSTA()->Get());
        origEndSTA_.Init(EndSTA()->Get());
    } else {
        origStartSTA_.Init(origStart);
        origEndSTA_.Init(origEnd);
    }
    return count;
}

int TierTabElementSporop::EqualRecord(const TierTabElementSporop& other, double tolerance) const {
    return Equal(other, tolerance) && H1.Lik(other.H1.Get(), tolerance) &&
           H2.Lik(other.H2.Get(), tolerance) && h1.Lik(other.h1.Get(), tolerance) &&
           h2.Lik(other.h2.Get(), tolerance) && vReq.Get() == other.vReq.Get() &&
           v.Get() == other.v.Get() && Locked.Get() == other.Locked.Get() &&
           IntAux.Get() == other.IntAux.Get() && Code1 == other.Code1 && Code2 == other.Code2 &&
           Code3 == other.Code3 && origStartSTA_.Lik(other.origStartSTA_.Get(), tolerance) &&
           origEndSTA_.Lik(other.origEndSTA_.Get(), tolerance);
}
