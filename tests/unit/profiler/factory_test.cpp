#include "abi/guid_text.h"
#include "clrprof/clr_callbacks.h"
#include "clrprof/clrprof.h"

#include <gtest/gtest.h>

using namespace veskmrte_1_0;
using namespace cor;

TEST(ClassFactory, MakesOneProfilerObjectPerProcess) {
    ClassFactory factory;
    void* out = nullptr;
    EXPECT_EQ(factory.CreateInstance(reinterpret_cast<IUnknown*>(&factory), IID_ICorProfilerCallback2, &out),
              CLASS_E_NOAGGREGATION);
    // The interface asked for is not examined: the callback interface comes
    // back with the object's one reference.
    ASSERT_EQ(factory.CreateInstance(nullptr, IID_IClassFactory, &out), S_OK);
    ASSERT_NE(out, nullptr);
    ICorProfilerCallback2* callbacks = static_cast<ICorProfilerCallback2*>(out);
    void* second = reinterpret_cast<void*>(0x1234);
    EXPECT_EQ(factory.CreateInstance(nullptr, IID_ICorProfilerCallback2, &second), S_FALSE);
    EXPECT_EQ(second, reinterpret_cast<void*>(0x1234));
    EXPECT_EQ(callbacks->Release(), 0u);
    EXPECT_EQ(factory.CreateInstance(nullptr, IID_ICorProfilerCallback2, &second), S_FALSE)
        << "never a second object, even after the first is gone";
}

TEST(ClassFactory, AnswersIUnknownAndIClassFactoryOnly) {
    ClassFactory factory;
    void* out = nullptr;
    EXPECT_EQ(factory.QueryInterface(IID_IClassFactory, &out), S_OK);
    EXPECT_EQ(out, static_cast<IClassFactory*>(&factory));
    EXPECT_EQ(factory.QueryInterface(IID_IUnknown, &out), S_OK);
    EXPECT_EQ(factory.QueryInterface(IID_ICorProfilerCallback2, &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(factory.LockServer(1), S_OK);
}

TEST(Exports, GetClassObjectServesOnlyOurClass) {
    CLSID other = {};
    ASSERT_TRUE(guidFromString(VESK_W("{5B1E0C47-93A2-4D6E-8F15-2C7A9D0E4B37}"), other));
    void* out = reinterpret_cast<void*>(0x99);
    EXPECT_EQ(dllGetClassObject(other, IID_IClassFactory, &out), CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(out, reinterpret_cast<void*>(0x99));

    CLSID ours = {};
    ASSERT_TRUE(guidFromString(getProfilerGuid(), ours));
    ASSERT_EQ(dllGetClassObject(ours, IID_IClassFactory, &out), S_OK);
    EXPECT_EQ(out, static_cast<IClassFactory*>(&classFactory()));
    // Releasing the handed-out reference never deletes the static factory.
    EXPECT_GE(classFactory().Release(), 1u);
    EXPECT_EQ(dllGetClassObject(ours, IID_ICorProfilerCallback2, &out), E_NOINTERFACE);
    EXPECT_EQ(dllCanUnloadNow(), S_OK);
}

TEST(Exports, ProfilerGuidIsTheBracedUpperCaseText) {
    EXPECT_EQ(vesk::WString(getProfilerGuid()), vesk::WString(VESK_W("{5B1E0C47-93A2-4D6E-8F15-2C7A9D0E4B36}")));
}

TEST(GuidText, RejectsMalformedText) {
    GUID g = {};
    EXPECT_FALSE(guidFromString(nullptr, g));
    EXPECT_FALSE(guidFromString(VESK_W("5B1E0C47-93A2-4D6E-8F15-2C7A9D0E4B36"), g));
    EXPECT_FALSE(guidFromString(VESK_W("{5B1E0C47-93A2-4D6E-8F15-2C7A9D0E4B3G}"), g));
    EXPECT_FALSE(guidFromString(VESK_W("{5B1E0C47-93A2-4D6E-8F15-2C7A9D0E4B36}x"), g));
    EXPECT_FALSE(guidFromString(VESK_W("{5B1E0C47+93A2-4D6E-8F15-2C7A9D0E4B36}"), g));
    ASSERT_TRUE(guidFromString(VESK_W("{5b1e0c47-93a2-4d6e-8f15-2c7a9d0e4b36}"), g));
    EXPECT_EQ(g.Data1, 0x5B1E0C47u);
    EXPECT_EQ(g.Data2, 0x93A2u);
    EXPECT_EQ(g.Data4[0], 0x8F);
    EXPECT_EQ(g.Data4[7], 0x36);
}
