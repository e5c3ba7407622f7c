#pragma once

// Root of the framework's class tree: owners delete objects through a base
// pointer, so the destructor is virtual.
class CObject {
public:
    CObject() = default;
    CObject(const CObject&) = delete;
    CObject& operator=(const CObject&) = delete;
    virtual ~CObject() = default;
};
