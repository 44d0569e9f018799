#include "platform/base/DT_Nodeliste.h"

#include <algorithm>

DT_Nodeliste::~DT_Nodeliste() {
    SlettAlleIListen(1);
}

int DT_Nodeliste::LeggTil(HovedObjekt* object) {
    if (object == nullptr)
        return 0;
    nodes_.emplace_back(object);
    return 1;
}

int DT_Nodeliste::Insert(HovedObjekt* object) {
    if (object == nullptr)
        return 0;
    if (active_ < 0) {
        nodes_.emplace_back(object);
        active_ = static_cast<std::ptrdiff_t>(nodes_.size()) - 1;
    } else {
        nodes_.insert(nodes_.begin() + active_, DT_Node(object));
    }
    return 1;
}

HovedObjekt* DT_Nodeliste::AktiverForste() {
    if (nodes_.empty())
        return nullptr;
    active_ = 0;
    return nodes_[0].Dette();
}

HovedObjekt* DT_Nodeliste::AktiverSiste() {
    if (nodes_.empty())
        return nullptr;
    active_ = static_cast<std::ptrdiff_t>(nodes_.size()) - 1;
    return nodes_[active_].Dette();
}

HovedObjekt* DT_Nodeliste::AktiverNeste() {
    if (active_ < 0 || active_ + 1 >= static_cast<std::ptrdiff_t>(nodes_.size()))
        return nullptr;
    ++active_;
    return nodes_[active_].Dette();
}

HovedObjekt* DT_Nodeliste::AktiverForrige() {
    if (active_ <= 0)
        return nullptr;
    --active_;
    return nodes_[active_].Dette();
}

HovedObjekt* DT_Nodeliste::Aktiver(int index) {
    if (index < 0 || index >= Antall())
        return nullptr;
    active_ = index;
    return nodes_[active_].Dette();
}

HovedObjekt* DT_Nodeliste::Aktiver(const DT_Node* node) {
    if (node == nullptr || nodes_.empty())
        return nullptr;
    // Compare addresses as integers: a node of another list is not within our array.
    const auto begin = reinterpret_cast<std::uintptr_t>(nodes_.data());
    const auto at = reinterpret_cast<std::uintptr_t>(node);
    if (at < begin || (at - begin) % sizeof(DT_Node) != 0)
        return nullptr;
    const std::size_t index = (at - begin) / sizeof(DT_Node);
    if (index >= nodes_.size())
        return nullptr;
    active_ = static_cast<std::ptrdiff_t>(index);
    return nodes_[index].Dette();
}

HovedObjekt* DT_Nodeliste::Neste() const {
    if (active_ < 0 || active_ + 1 >= static_cast<std::ptrdiff_t>(nodes_.size()))
        return nullptr;
    return nodes_[active_ + 1].Dette();
}

HovedObjekt* DT_Nodeliste::Forrige() const {
    if (active_ <= 0)
        return nullptr;
    return nodes_[active_ - 1].Dette();
}

HovedObjekt* DT_Nodeliste::Objekt(int index) const {
    if (index < 0 || index >= Antall())
        return nullptr;
    return nodes_[index].Dette();
}

DT_Node* DT_Nodeliste::Node(int index) {
    if (index < 0 || index >= Antall())
        return nullptr;
    return &nodes_[index];
}

HovedObjekt* DT_Nodeliste::Unlink(std::ptrdiff_t index) {
    HovedObjekt* object = nodes_[index].Dette();
    nodes_.erase(nodes_.begin() + index);
    const auto n = static_cast<std::ptrdiff_t>(nodes_.size());
    if (n == 0) {
        active_ = -1;
    } else if (index == active_) {
        active_ = std::min(index, n - 1);
    } else if (index < active_) {
        --active_;
    }
    return object;
}

HovedObjekt* DT_Nodeliste::TaUtAktiv() {
    if (active_ < 0)
        return nullptr;
    return Unlink(active_);
}

int DT_Nodeliste::SlettAktiv() {
    if (active_ < 0)
        return 0;
    Release(Unlink(active_));
    return 1;
}

int DT_Nodeliste::SlettObjekt(HovedObjekt* object) {
    if (object == nullptr)
        return 0;
    for (std::size_t i = 0; i < nodes_.size(); ++i) {
        if (nodes_[i].Dette() == object) {
            Release(Unlink(static_cast<std::ptrdiff_t>(i)));
            return 1;
        }
    }
    return 0;
}

int DT_Nodeliste::SlettAlleIListen(int deleteObjects) {
    if (deleteObjects != 0) {
        for (DT_Node& node : nodes_)
            Release(node.Dette());
    }
    nodes_.clear();
    active_ = -1;
    return 1;
}

int DT_Nodeliste::Sorter(int ascending) {
    // SorterObj need not be a strict weak order (an "is not smaller" hook answers yes both ways
    // for equal objects), so two objects count as ordered only when the hook answers one way.
    std::stable_sort(nodes_.begin(), nodes_.end(), [&](const DT_Node& a, const DT_Node& b) {
        return SorterObj(b.Dette(), a.Dette(), ascending) != 0 &&
               SorterObj(a.Dette(), b.Dette(), ascending) == 0;
    });
    active_ = nodes_.empty() ? -1 : 0;
    return 1;
}

int DT_Nodeliste::SorterObj(const HovedObjekt*, const HovedObjekt*, int) const {
    return 0;
}

int DT_Nodeliste::Reverse() {
    std::reverse(nodes_.begin(), nodes_.end());
    active_ = nodes_.empty() ? -1 : 0;
    return 1;
}
