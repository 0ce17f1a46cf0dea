// CInstance: one living copy of an object in a room, with its motion, image, alarms, path and time line.
#pragma once

#include "code/code_tree.h"
#include "code/host.h"
#include "graphics/sprite.h"
#include "support/resource_list.h"
#include "world/object.h"

#include <array>
#include <cstdint>
#include <string>

namespace quillon {

constexpr int INSTANCE_ALARM_COUNT = 8;
constexpr std::int32_t FAR_AWAY = -100000;  // the bounding box of an instance without a sprite

class CInstance;

// Told before any instance's bounding box is computed again, so that a spatial index can keep itself current.
class BoxListener {
public:
    virtual void box_changed(CInstance& instance) = 0;

protected:
    ~BoxListener() = default;
};

// Position, motion, sprite, mask and scale are private: their setters keep the speeds consistent and the
// bounding box current. Every other field may be written directly. Instances start on a cache line, so that
// the fields the step's passes read together share lines.
class alignas(64) CInstance : public ScriptInstance {
public:
    // The sprites give the bounding box; an instance of no object (room and library code) may pass none.
    explicit CInstance(const ResourceList<CSprite>* sprites = nullptr) : m_sprites(sprites) {}

    // Every field to its default, then the object, the position and the start and previous positions.
    void create(std::int32_t id, std::int32_t object_index, const CObject* object, double x, double y);
    // Takes the object's sprite, mask, depth and flags; position, motion, alarms and variables stay.
    void set_object(std::int32_t object_index, const CObject* object);
    // Every field of the other instance, its id, mark and a copy of its variables included.
    void copy_from(const CInstance& other);

    double x() const { return m_x; }
    double y() const { return m_y; }
    double hspeed() const { return m_hspeed; }
    double vspeed() const { return m_vspeed; }
    double direction() const { return m_direction; }
    double speed() const { return m_speed; }
    std::int32_t sprite_index() const { return m_sprite_index; }
    std::int32_t mask_index() const { return m_mask_index; }
    double image_scale() const { return m_image_scale; }
    std::int32_t bbox_left() const { return m_bbox_left; }
    std::int32_t bbox_top() const { return m_bbox_top; }
    std::int32_t bbox_right() const { return m_bbox_right; }
    std::int32_t bbox_bottom() const { return m_bbox_bottom; }
    bool precise() const { return m_precise; }

    void set_position(double x, double y);
    void set_direction(double direction);
    void set_speed(double speed);
    void set_hspeed(double hspeed);
    void set_vspeed(double vspeed);
    // Pushes the instance by length in the direction, without snapping the speeds.
    void add_motion(double length, double direction);
    // Puts the speed back after the speeds changed, leaving them and the direction as they are: an
    // instance on a path keeps its own speed while its motion follows the path.
    void keep_speed(double speed) { m_speed = speed; }
    void set_sprite(std::int32_t sprite);
    void set_mask(std::int32_t mask);
    void set_image_scale(double scale);

    // -1 outside 0..7; setting outside 0..7 is ignored.
    std::int32_t alarm(int index) const;
    void set_alarm(int index, std::int32_t value);
    // The sprite's image count, 0 without a sprite.
    int image_number() const;
    // The sprite itself when it exists.
    const CSprite* sprite() const { return m_sprites ? m_sprites->get(m_sprite_index) : nullptr; }

    // The built-in instance variables, read and written as the variable table's getters and setters do.
    bool get_builtin(std::int32_t id, double& value) const override;
    bool set_builtin(std::int32_t id, double value) override;

    // The record of a saved game. Loading looks the object up again; the bounding box is taken as stored.
    void save(CStream& stream) const;
    void load(CStream& stream, const ResourceList<CObject>& objects);

    // Friction, then gravity: the first two parts of the motion of a step.
    void apply_friction_and_gravity();
    // Inside the bounding box, edges included; never for an instance marked destroyed.
    bool box_covers(double x, double y) const;

    // The fields come in the order of the step's passes over every instance, so that each pass reads one or
    // two cache lines of an instance: first what motion, the bounding box, collisions and animation read.
private:
    const ResourceList<CSprite>* m_sprites;  // the game's sprites, for the bounding box and image count
    double m_x = 0;                          // position
    double m_y = 0;
    double m_hspeed = 0;                     // motion per step; vspeed positive moves down
    double m_vspeed = 0;
    std::int32_t m_sprite_index = -1;        // the sprite shown
    std::int32_t m_mask_index = -1;          // the sprite used for collisions; -1 the sprite itself
    std::int32_t m_bbox_left = FAR_AWAY;     // the bounding box in room pixels, edges included
    std::int32_t m_bbox_top = FAR_AWAY;
    std::int32_t m_bbox_right = FAR_AWAY;
    std::int32_t m_bbox_bottom = FAR_AWAY;

public:
    // Fields written directly.
    std::int32_t object_index = -1;       // the object it is an instance of
    int collision_slot = -1;              // its entry in the collision grid, kept by the grid
    std::int32_t path_index = -1;         // the path followed; -1 none

private:
    bool m_precise = false;                  // the mask's collisions are tested pixel by pixel

public:
    bool visible = true;                  // drawn
    bool solid = false;                   // stops others in collisions
    bool persistent = false;              // moves on with the game to the next room
    double image_index = 0;               // the image shown while animating
    double image_single = -1;             // the image shown always; negative: animate
    double image_speed = 1;               // images advanced per step
    double friction = 0;                  // speed lost per step
    double gravity = 0;                   // speed added per step in the gravity direction

private:
    double m_image_scale = 1;                // size factor of the image and the box

public:
    double xprevious = 0;                 // the position at the start of the step
    double yprevious = 0;
    std::int32_t timeline_index = -1;     // the time line run; -1 none
    const CObject* object = nullptr;      // that object, when it exists
    double gravity_direction = 270;       // degrees
    double depth = 0;                     // drawing order: larger depths first
    double image_alpha = 1;               // opacity
    double xstart = 0;                    // the creation position
    double ystart = 0;
    std::array<std::int32_t, INSTANCE_ALARM_COUNT> alarms {-1, -1, -1, -1, -1, -1, -1, -1};  // steps left; -1 off
    double path_position = 0;             // fraction of the path travelled
    double path_scale = 1;                // the path's size factor
    double path_orientation = 0;          // the path's rotation in degrees
    double timeline_position = 0;         // steps of the time line passed
    double timeline_speed = 1;            // time-line steps per game step
    std::string creation_code;            // from the room's placement, run when the room first starts

    static inline BoxListener* s_box_listener = nullptr;  // the collision grid in use, or none

private:
    void speeds_from_polar();
    void polar_from_speeds();
    void compute_bounding_box();

    double m_direction = 0;                  // degrees counter-clockwise, 0 to the right, in 0..360
    double m_speed = 0;                      // may be negative: backwards along the direction
};

}  // namespace quillon
