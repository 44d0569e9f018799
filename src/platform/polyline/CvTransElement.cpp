#include "platform/polyline/CvTransElement.h"

const DT_Double* CvTransElement::TransStartSTA(const DT_Double* newValue) {
    if (newValue != nullptr) {
        transStartSTA_.Init(newValue->Get());
        Changed();
    }
    return &transStartSTA_;
}

const DT_Double* CvTransElement::TransEndSTA(const DT_Double* newValue) {
    if (newValue != nullptr) {
        transEndSTA_.Init(newValue->Get());
        Changed();
    }
    return &transEndSTA_;
}

void CvTransElement::SetTransition(std::shared_ptr<const CvPolyElement> origin,
                                   double transStartSTA, double transEndSTA,
                                   double transStartRadius, double transEndRadius,
                                   double transLength, int pieceIndex, int pieceCount) {
    origin_ = std::move(origin);
    transStartSTA_.Init(transStartSTA);
    transEndSTA_.Init(transEndSTA);
    transStartRadius_ = transStartRadius;
    transEndRadius_ = transEndRadius;
    transLength_ = transLength;
    pieceIndex_ = pieceIndex;
    pieceCount_ = pieceCount;
    Changed();
}

int CvTransElement::Turn() {
    CvPolyElement::Turn();
    const double s0 = transStartSTA_.Get(), s1 = transEndSTA_.Get();
    transStartSTA_.Init(-s1);
    transEndSTA_.Init(-s0);
    const double r0 = transStartRadius_, r1 = transEndRadius_;
    transStartRadius_ = -r1;
    transEndRadius_ = -r0;
    pieceIndex_ = pieceCount_ - 1 - pieceIndex_;
    Changed();
    return 1;
}

int CvTransElement::SameTransition(const CvTransElement& o) const {
    return origin_ == o.origin_ && pieceCount_ == o.pieceCount_ &&
           transStartSTA_.Get() == o.transStartSTA_.Get() &&
           transEndSTA_.Get() == o.transEndSTA_.Get() && transStartRadius_ == o.transStartRadius_ &&
           transEndRadius_ == o.transEndRadius_ && transLength_ == o.transLength_;
}
