#include "platform/base/DT_IntListe.h"
#include "platform/base/StrengListe.h"

#include "support/TestSupport.h"

#include <memory>

namespace {

// Counts live instances, so that ownership mistakes show up as counts, not only as sanitizer
// reports.
struct Tracked : HovedObjekt {
    static inline int alive = 0;
    int id;
    explicit Tracked(int i) : id(i) { ++alive; }
    ~Tracked() override { --alive; }
};

int Id(HovedObjekt* o) {
    return o ? static_cast<Tracked*>(o)->id : -1;
}

} // namespace

TEST(DT_Nodeliste, OwningListDeletesWhatItRemovesAndTaUtAktivHandsOneOver) {
    Tracked::alive = 0;
    std::unique_ptr<HovedObjekt> taken;
    {
        DT_Nodeliste list(1);
        for (int i = 0; i < 10; ++i)
            list.LeggTil(new Tracked(i));
        list.Aktiver(2);
        taken.reset(list.TaUtAktiv());
        EXPECT_EQ(Id(taken.get()), 2);
        EXPECT_EQ(list.Antall(), 9);
        EXPECT_EQ(list.SlettAktiv(), 1); // deletes object 3
        EXPECT_EQ(Tracked::alive, 9);
        // RemoveIf compacts in one pass, keeping the order, and deletes what it removes.
        EXPECT_EQ(list.RemoveIf([](HovedObjekt* o) { return Id(o) % 3 == 0; }), 3); // 0, 6, 9
        ASSERT_EQ(list.Antall(), 5);
        EXPECT_EQ(Id(list.Objekt(0)), 1);
        EXPECT_EQ(Id(list.Objekt(4)), 8);
        EXPECT_EQ(Tracked::alive, 6);
    }
    EXPECT_EQ(Tracked::alive, 1); // only the taken one is left
    taken.reset();
    EXPECT_EQ(Tracked::alive, 0);

    Tracked keep(7);
    {
        DT_Nodeliste borrowed(0);
        borrowed.LeggTil(&keep);
        borrowed.Aktiver(0);
        borrowed.SlettAktiv();
        borrowed.LeggTil(&keep);
        borrowed.SlettAlleIListen(1);
        borrowed.LeggTil(&keep);
    }
    EXPECT_EQ(Tracked::alive, 1); // a non-owning list never deletes
}

TEST(DT_Nodeliste, CursorRules) {
    Tracked::alive = 0;
    DT_Nodeliste empty(1);
    EXPECT_EQ(empty.Index(), -1);
    EXPECT_EQ(empty.AktiverForste(), nullptr);
    EXPECT_EQ(empty.AktiverNeste(), nullptr);
    EXPECT_EQ(empty.TaUtAktiv(), nullptr);
    EXPECT_EQ(empty.Index(), -1);

    DT_Nodeliste list(1);
    for (int i = 0; i < 4; ++i)
        list.LeggTil(new Tracked(i));
    EXPECT_EQ(list.Index(), -1) << "LeggTil leaves the cursor alone";
    EXPECT_EQ(list.AktiverNeste(), nullptr) << "no active node: nothing to move from";

    EXPECT_EQ(Id(list.AktiverSiste()), 3);
    EXPECT_EQ(list.AktiverNeste(), nullptr);
    EXPECT_EQ(list.Index(), 3) << "past the end the cursor stays on the last node";
    EXPECT_EQ(Id(list.AktiverForste()), 0);
    EXPECT_EQ(list.AktiverForrige(), nullptr);
    EXPECT_EQ(list.Index(), 0);
    EXPECT_EQ(list.Aktiver(9), nullptr);
    EXPECT_EQ(list.Index(), 0) << "an index out of range leaves the cursor";

    // Insert goes before the active node and becomes active.
    list.Aktiver(1);
    list.Insert(new Tracked(10));
    EXPECT_EQ(list.Index(), 1);
    EXPECT_EQ(Id(list.Aktiv()), 10);
    EXPECT_EQ(Id(list.Objekt(2)), 1);

    // Taking out: the following node becomes active; at the end the new last one.
    delete list.TaUtAktiv();
    EXPECT_EQ(Id(list.Aktiv()), 1);
    list.AktiverSiste();
    delete list.TaUtAktiv();
    EXPECT_EQ(Id(list.Aktiv()), 2);
    EXPECT_EQ(list.Index(), 2);

    // Removing another node keeps the active object.
    list.Aktiver(2);
    EXPECT_EQ(list.SlettObjekt(list.Objekt(0)), 1);
    EXPECT_EQ(Id(list.Aktiv()), 2);

    while (list.Antall() > 0) {
        list.AktiverForste();
        list.SlettAktiv();
    }
    EXPECT_EQ(list.Index(), -1);
    EXPECT_EQ(Tracked::alive, 0);
}

TEST(DT_Nodeliste, SorterIsStableAndUsesTheVirtualHook) {
    DT_IntListe codes;
    for (int v : {5, 3, 9, 3, 1})
        codes.LeggTilVerdi(v);
    codes.Sorter(1);
    EXPECT_EQ(rigel::test::Codes(codes), (std::vector<int>{1, 3, 3, 5, 9}));
    EXPECT_EQ(codes.Index(), 0);
    codes.Sorter(0);
    EXPECT_EQ(codes.Verdi(0), 9);

    // Equal keys keep their order: sort records by key only and check the ids.
    struct Keyed : DT_Int {
        int id;
        Keyed(int key, int i) : DT_Int(key), id(i) {}
    };
    DT_IntListe keyed;
    const int keys[] = {2, 1, 2, 1, 2, 1, 0};
    for (int i = 0; i < 7; ++i)
        keyed.LeggTil(new Keyed(keys[i], i));
    keyed.Sorter(1);
    std::vector<int> ids;
    for (int i = 0; i < keyed.Antall(); ++i)
        ids.push_back(static_cast<Keyed*>(keyed.Objekt(i))->id);
    EXPECT_EQ(ids, (std::vector<int>{6, 1, 3, 5, 0, 2, 4}));

    StrengListe texts;
    texts.LeggTilStreng("b");
    texts.LeggTilStreng("a");
    texts.Sorter(1);
    EXPECT_EQ(texts.Tekst(0)->str(), "a");
    EXPECT_EQ(texts.Finnes("b"), 1);
}
