#pragma once

#include <QString>

// Base of every object the model loads or represents. Entities are held by
// std::shared_ptr, so one a window or another entity still refers to stays
// valid after its collection has reloaded and moved on to new objects.
class ZARVEntidad {
public:
    virtual ~ZARVEntidad() = default;
    virtual QString Texto() const;
};
