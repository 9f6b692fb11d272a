#include "platform/os/RuntimeClass.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <new>

namespace runtime_class_test {

class CShapeBase : public CObject {
    DECLARE_DYNAMIC(CShapeBase)
public:
    virtual int Corners() const = 0;
};

class CSquare : public CShapeBase {
    DECLARE_DYNCREATE(CSquare)
public:
    int Corners() const override { return 4; }
};

// Declares nothing: it reports its nearest declared base, as the framework does.
class CRedSquare : public CSquare {};

class CStranger : public CObject {
    DECLARE_DYNAMIC(CStranger)
};

class CStarved : public CObject {
public:
    CStarved() { throw std::bad_alloc(); }
};

IMPLEMENT_DYNAMIC(CShapeBase, CObject)
IMPLEMENT_DYNCREATE(CSquare, CShapeBase)
IMPLEMENT_DYNAMIC(CStranger, CObject)

} // namespace runtime_class_test

using namespace runtime_class_test;

TEST(RuntimeClass, RecordsCarryTheClassNameAndTheLineOfBases) {
    EXPECT_STREQ(RUNTIME_CLASS(CShapeBase)->m_lpszClassName, "CShapeBase");
    EXPECT_STREQ(RUNTIME_CLASS(CSquare)->m_lpszClassName, "CSquare");
    EXPECT_EQ(RUNTIME_CLASS(CSquare)->m_pBaseClass, RUNTIME_CLASS(CShapeBase));
    EXPECT_EQ(RUNTIME_CLASS(CShapeBase)->m_pBaseClass, RUNTIME_CLASS(CObject));
    EXPECT_EQ(RUNTIME_CLASS(CObject)->m_pBaseClass, nullptr);

    EXPECT_TRUE(RUNTIME_CLASS(CSquare)->IsDerivedFrom(RUNTIME_CLASS(CShapeBase)));
    EXPECT_TRUE(RUNTIME_CLASS(CSquare)->IsDerivedFrom(RUNTIME_CLASS(CSquare)));
    EXPECT_TRUE(RUNTIME_CLASS(CRedSquare)->IsDerivedFrom(RUNTIME_CLASS(CShapeBase)));
    EXPECT_FALSE(RUNTIME_CLASS(CShapeBase)->IsDerivedFrom(RUNTIME_CLASS(CSquare)));
    EXPECT_FALSE(RUNTIME_CLASS(CStranger)->IsDerivedFrom(RUNTIME_CLASS(CShapeBase)));
    EXPECT_FALSE(RUNTIME_CLASS(CSquare)->IsDerivedFrom(nullptr));
}

TEST(RuntimeClass, ObjectsKnowTheirClassThroughAnyPointer) {
    CRedSquare red;
    const CObject& object = red;
    EXPECT_EQ(object.GetRuntimeClass(), RUNTIME_CLASS(CSquare));
    EXPECT_TRUE(object.IsKindOf(RUNTIME_CLASS(CShapeBase)));
    EXPECT_TRUE(object.IsKindOf(RUNTIME_CLASS(CObject)));
    EXPECT_FALSE(object.IsKindOf(RUNTIME_CLASS(CStranger)));
    EXPECT_FALSE(object.IsKindOf(nullptr));
}

TEST(RuntimeClass, OnlyConcreteClassesAreMadeAndAFailedMakeGivesNull) {
    EXPECT_EQ(RUNTIME_CLASS(CShapeBase)->CreateObject(), nullptr);
    EXPECT_EQ(RUNTIME_CLASS(CObject)->CreateObject(), nullptr);

    std::unique_ptr<CObject> square(RUNTIME_CLASS(CSquare)->CreateObject());
    ASSERT_NE(square, nullptr);
    EXPECT_EQ(square->GetRuntimeClass(), RUNTIME_CLASS(CSquare));
    EXPECT_EQ(static_cast<CShapeBase*>(square.get())->Corners(), 4);

    // A class without a declaration of its own is still made as itself.
    std::unique_ptr<CObject> red(RUNTIME_CLASS(CRedSquare)->CreateObject());
    EXPECT_NE(dynamic_cast<CRedSquare*>(red.get()), nullptr);

    EXPECT_EQ(RUNTIME_CLASS(CStarved)->CreateObject(), nullptr);
}
