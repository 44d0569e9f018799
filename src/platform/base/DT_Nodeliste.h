#pragma once
// The base component's list: an ordered sequence of objects with one active node (the cursor).
//
// Storage is one contiguous array of nodes, so appending is amortised O(1) and access by index is
// O(1). Inserting or removing in the middle moves the nodes behind it (O(n)); bulk removals go
// through RemoveIf, which compacts in one pass.
//
// Ownership: a list built with owner = 1 owns its objects and deletes them when they are deleted
// from the list (SlettAktiv, SlettObjekt, SlettAlleIListen(1), RemoveIf, destruction). TaUtAktiv
// hands the active object to the caller, who then owns it. A list built with owner = 0 never
// deletes an object.
//
// Cursor rules (Index() is -1 when no node is active):
// - A new list, an emptied list (SlettAlleIListen) and an empty list have no active node.
// - AktiverForste / AktiverSiste make the first / last node active; on an empty list they answer
//   null.
// - AktiverNeste past the last node and AktiverForrige before the first answer null and leave the
//   cursor where it was. With no active node both answer null.
// - Aktiver(index) out of range answers null and leaves the cursor where it was.
// - LeggTil appends and leaves the cursor where it was (also with no active node).
// - Insert puts the new node before the active node, or at the end when no node is active, and
//   makes the new node active.
// - TaUtAktiv, SlettAktiv and SlettObjekt (of the active object) make the node that followed the
//   removed one active; when the removed node was the last, the new last node; when the list is
//   then empty, none. Removing another node keeps the same active object.
// - Sorter, Reverse and RemoveIf leave the first node active (none when the list is empty).
// - Node pointers (Node, AktivNode) stay valid until the list's length changes.

#include "platform/base/HovedObjekt.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

class DT_Node {
public:
    explicit DT_Node(HovedObjekt* object = nullptr) : dette_(object) {}
    HovedObjekt* Dette() const { return dette_; }
    // Re-points the node at another object. Ownership does not change hands: the caller keeps the
    // list owning exactly one node per object (the sorter uses this to reorder in place).
    void SetDette(HovedObjekt* object) { dette_ = object; }

private:
    HovedObjekt* dette_;
};

class DT_Nodeliste : public HovedObjekt {
public:
    explicit DT_Nodeliste(int owner = 1) : owner_(owner != 0) {}
    ~DT_Nodeliste() override;
    DT_Nodeliste(const DT_Nodeliste&) = delete;
    DT_Nodeliste& operator=(const DT_Nodeliste&) = delete;

    const char* KlasseNavn() const override { return "DT_Nodeliste"; }
    int KlasseType() const override { return rigel::klasse::Nodeliste; }

    int Eier() const { return owner_ ? 1 : 0; }
    int Antall() const { return static_cast<int>(nodes_.size()); }
    void Reserve(std::size_t n) { nodes_.reserve(n); }

    // Appends; 0 for a null object (nothing appended).
    int LeggTil(HovedObjekt* object);
    // Appends an object made for the list: when appending throws, the object is deleted rather
    // than lost; on success the list holds it (and deletes it when it owns its objects).
    template <typename T> int Append(std::unique_ptr<T> object) {
        const int added = LeggTil(object.get());
        object.release();
        return added;
    }
    int Insert(HovedObjekt* object);

    HovedObjekt* AktiverForste();
    HovedObjekt* AktiverNeste();
    HovedObjekt* AktiverForrige();
    HovedObjekt* AktiverSiste();
    HovedObjekt* Aktiver(int index);
    // Activates a node of this list; null for a node that is not one of this list's.
    HovedObjekt* Aktiver(const DT_Node* node);
    HovedObjekt* Aktiv() const { return active_ < 0 ? nullptr : nodes_[active_].Dette(); }
    DT_Node* AktivNode() { return active_ < 0 ? nullptr : &nodes_[active_]; }
    int Index() const { return static_cast<int>(active_); }

    // Look without moving the cursor. Neste and Forrige are relative to the active node.
    HovedObjekt* Forste() const { return nodes_.empty() ? nullptr : nodes_.front().Dette(); }
    HovedObjekt* Siste() const { return nodes_.empty() ? nullptr : nodes_.back().Dette(); }
    HovedObjekt* Neste() const;
    HovedObjekt* Forrige() const;
    // The object at index, null out of range; does not move the cursor.
    HovedObjekt* Objekt(int index) const;
    DT_Node* Node(int index);

    // Unlinks the active node and returns its object, which the caller now owns.
    HovedObjekt* TaUtAktiv();
    // Remove (and delete, when owning) the active object / the given object. 1 when done.
    int SlettAktiv();
    int SlettObjekt(HovedObjekt* object);
    // Empties the list. With deleteObjects non-zero an owning list deletes its objects; with 0
    // the objects are only unlinked and the caller takes them over.
    int SlettAlleIListen(int deleteObjects);

    // Sorts by SorterObj, stable: objects that SorterObj does not order keep their order.
    // ascending is handed to SorterObj. Returns 1.
    int Sorter(int ascending);
    // The ordering hook: answers non-zero when `first` belongs after `second`. The base keeps the
    // order (answers 0).
    virtual int SorterObj(const HovedObjekt* first, const HovedObjekt* second, int ascending) const;

    // Reverses the order of the nodes (the same objects); the first node becomes active.
    int Reverse();

    // Removes every object for which pred(object) is true in one pass, deleting it when the list
    // owns it; keeps the order of the others. Returns the number removed.
    template <typename Pred> int RemoveIf(Pred pred) {
        std::size_t kept = 0;
        for (std::size_t i = 0; i < nodes_.size(); ++i) {
            HovedObjekt* object = nodes_[i].Dette();
            if (pred(object)) {
                Release(object);
            } else {
                nodes_[kept++] = nodes_[i];
            }
        }
        const int removed = static_cast<int>(nodes_.size() - kept);
        nodes_.resize(kept);
        active_ = nodes_.empty() ? -1 : 0;
        return removed;
    }

private:
    void Release(HovedObjekt* object) {
        if (owner_)
            delete object;
    }
    // Unlinks the node at index and moves the cursor after the rules above.
    HovedObjekt* Unlink(std::ptrdiff_t index);

    std::vector<DT_Node> nodes_;
    std::ptrdiff_t active_ = -1;
    bool owner_;
};
