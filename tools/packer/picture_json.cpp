// Sprites and backgrounds as JSON records with picture files, in both directions.
#include "picture_json.h"

#include "support/picture_file.h"
#include "support/win1252.h"

#include <algorithm>

namespace quillon {

namespace {

constexpr const char* PICTURE_EXTENSIONS[] = {".png", ".bmp", ".gif", ".jpg", ".jpeg"};

constexpr FieldRef<CSprite> SPRITE_FIELDS[] = {
    {"origin_x", &CSprite::origin_x},
    {"origin_y", &CSprite::origin_y},
    {"transparent", &CSprite::transparent},
    {"precise", &CSprite::precise},
    {"video_memory", &CSprite::video_memory},
    {"load_on_use", &CSprite::load_on_use},
    {"bounding_box_kind", &CSprite::bounding_box_kind},
};

constexpr FieldRef<CBackground> BACKGROUND_FIELDS[] = {
    {"transparent", &CBackground::transparent},
    {"video_memory", &CBackground::video_memory},
    {"load_on_use", &CBackground::load_on_use},
};

// The picture file of a resource that names none: folder/name with one of the picture extensions.
std::optional<std::string> default_picture(const PackContext& context, const std::string& folder, const std::string& name)
{
    for (const char* extension : PICTURE_EXTENSIONS) {
        std::string path = folder + "/" + win1252_to_utf8(name) + extension;
        if (context.source.exists(path))
            return path;
    }
    return std::nullopt;
}

std::vector<PictureFrame> load_frames(const Fields& fields, const std::string& key, const std::string& path,
                                      const PackContext& context)
{
    std::optional<std::vector<PictureFrame>> frames = decode_picture(context.read_file(fields, key, path));
    if (!frames)
        fields.fail(key, "\"" + path + "\" is not a PNG, BMP, GIF or JPEG picture that can be read");
    return std::move(*frames);
}

// Pictures with an alpha channel get one key colour that none of the frames uses.
std::vector<Bitmap24> keyed_frames(const std::vector<PictureFrame>& frames)
{
    bool has_alpha = std::any_of(frames.begin(), frames.end(), [](const PictureFrame& f) { return !f.alpha.empty(); });
    Color key = has_alpha ? unused_color(frames) : 0;
    std::vector<Bitmap24> out;
    for (const PictureFrame& frame : frames)
        out.push_back(key_transparent_pixels(frame, key));
    return out;
}

std::vector<PictureFrame> sprite_pictures(Fields& fields, const std::string& name, const PackContext& context)
{
    std::optional<std::int32_t> strip;
    if (fields.has("strip")) {
        std::int32_t count = 1;
        fields.get("strip", count);
        if (count < 1)
            fields.fail("strip", "the frame count must be at least 1");
        strip = count;
    }
    if (const Json* list = fields.take("frames")) {
        if (strip || fields.has("file"))
            fields.fail("frames", "give either frames, or file with an optional strip count");
        if (!list->is_array())
            fields.fail("frames", "expected an array of file names");
        std::vector<PictureFrame> frames;
        for (const Json& entry : *list) {
            std::string path = fields.to_string(entry, "frames");
            for (PictureFrame& frame : load_frames(fields, "frames", path, context))
                frames.push_back(std::move(frame));
        }
        return frames;
    }
    std::optional<std::string> path = fields.has("file") ? fields.get_path("file") : default_picture(context, "sprites", name);
    if (!path)
        fields.fail("file", "missing: no picture sprites/" + win1252_to_utf8(name) + ".png (or .bmp, .gif, .jpg, .jpeg) either");
    std::vector<PictureFrame> frames = load_frames(fields, "file", *path, context);
    if (!strip)
        return frames;
    if (frames.size() != 1)
        fields.fail("strip", "only a picture of one frame can be split");
    return split_strip(frames.front(), *strip);
}

void read_box(Fields& fields, BoundingBox& box)
{
    const Json* value = fields.take("bounding_box");
    if (!value)
        return;
    if (!value->is_array() || value->size() != 4)
        fields.fail("bounding_box", "expected [left, top, right, bottom]");
    box = {fields.to_int((*value)[0], "bounding_box"), fields.to_int((*value)[1], "bounding_box"),
           fields.to_int((*value)[2], "bounding_box"), fields.to_int((*value)[3], "bounding_box")};
}

// The frames side by side in one picture, which the strip count splits again.
Bitmap24 join_strip(const CSprite& sprite)
{
    Bitmap24 strip;
    strip.width = sprite.width * static_cast<int>(sprite.frames.size());
    strip.height = sprite.height;
    strip.pixels.resize(static_cast<std::size_t>(strip.width) * strip.height * 3);
    for (std::size_t i = 0; i < sprite.frames.size(); ++i) {
        for (int y = 0; y < strip.height; ++y)
            std::copy_n(sprite.frames[i].bitmap->row(y), sprite.width * 3, strip.row(y) + i * sprite.width * 3);
    }
    return strip;
}

bool frames_fit(const CSprite& sprite)
{
    return std::all_of(sprite.frames.begin(), sprite.frames.end(), [&](const StoredImage& frame) {
        return frame.bitmap && frame.bitmap->width == sprite.width && frame.bitmap->height == sprite.height;
    });
}

}  // namespace

CSprite pack_sprite(Fields& fields, const std::string& name, const PackContext& context)
{
    CSprite sprite;
    std::vector<PictureFrame> pictures = sprite_pictures(fields, name, context);
    std::vector<Bitmap24> frames = keyed_frames(pictures);
    if (!frames.empty()) {
        sprite.width = frames.front().width;
        sprite.height = frames.front().height;
    }
    for (std::size_t i = 0; i < frames.size(); ++i) {
        if (frames[i].width != sprite.width || frames[i].height != sprite.height)
            fields.fail("frames", "frame " + std::to_string(i + 1) + " is " + std::to_string(frames[i].width) + "x"
                                      + std::to_string(frames[i].height) + ", the first frame "
                                      + std::to_string(sprite.width) + "x" + std::to_string(sprite.height));
        sprite.frames.push_back(StoredImage::from_bitmap(frames[i]));
    }
    fields.get_fields<CSprite>(sprite, SPRITE_FIELDS);
    fields.get("width", sprite.width);
    fields.get("height", sprite.height);
    sprite.compute_bounding_box();
    read_box(fields, sprite.bounding_box);
    return sprite;
}

void unpack_sprite(const CSprite& sprite, const std::string& name, Json& entry, UnpackContext& context)
{
    CSprite derived;
    if (sprite.frames.empty()) {
        entry["frames"] = Json::array();
    } else if (frames_fit(sprite)) {
        std::string path = context.claim_path("sprites", safe_stem(name), ".png");
        context.add_file(path, encode_png(sprite.frames.size() == 1 ? *sprite.frames[0].bitmap : join_strip(sprite)));
        if (path != "sprites/" + win1252_to_utf8(name) + ".png")
            entry["file"] = path;
        if (sprite.frames.size() > 1)
            entry["strip"] = sprite.frames.size();
        derived.width = sprite.frames[0].bitmap->width;
        derived.height = sprite.frames[0].bitmap->height;
    } else {
        // Frames of their own sizes, each in its own file.
        Json list = Json::array();
        for (std::size_t i = 0; i < sprite.frames.size(); ++i) {
            std::string path = context.claim_path("sprites/" + safe_stem(name), std::to_string(i), ".png");
            context.add_file(path, encode_png(*sprite.frames[i].bitmap));
            list.push_back(path);
        }
        entry["frames"] = std::move(list);
        derived.width = sprite.frames[0].bitmap->width;
        derived.height = sprite.frames[0].bitmap->height;
    }
    put_fields<CSprite>(entry, sprite, CSprite {}, SPRITE_FIELDS);
    if (sprite.width != derived.width)
        entry["width"] = sprite.width;
    if (sprite.height != derived.height)
        entry["height"] = sprite.height;
    CSprite boxed = sprite;
    boxed.compute_bounding_box();
    if (!(sprite.bounding_box == boxed.bounding_box)) {
        const BoundingBox& box = sprite.bounding_box;
        entry["bounding_box"] = {box.left, box.top, box.right, box.bottom};
    }
}

CBackground pack_background(Fields& fields, const std::string& name, const PackContext& context)
{
    CBackground background;
    std::optional<std::string> path = fields.has("file") ? fields.get_path("file")
                                                         : default_picture(context, "backgrounds", name);
    if (path) {
        std::vector<PictureFrame> frames = load_frames(fields, "file", *path, context);
        frames.resize(1);  // the first frame of an animated picture
        Bitmap24 image = keyed_frames(frames).front();
        background.width = image.width;
        background.height = image.height;
        background.has_image = true;
        background.image = StoredImage::from_bitmap(image);
    }
    fields.get_fields<CBackground>(background, BACKGROUND_FIELDS);
    fields.get("width", background.width);
    fields.get("height", background.height);
    return background;
}

void unpack_background(const CBackground& background, const std::string& name, Json& entry, UnpackContext& context)
{
    CBackground derived;
    if (background.has_image && background.image.bitmap) {
        const Bitmap24& image = *background.image.bitmap;
        std::string path = context.claim_path("backgrounds", safe_stem(name), ".png");
        context.add_file(path, encode_png(image));
        if (path != "backgrounds/" + win1252_to_utf8(name) + ".png")
            entry["file"] = path;
        derived.width = image.width;
        derived.height = image.height;
    } else {
        entry["file"] = nullptr;
    }
    put_fields<CBackground>(entry, background, CBackground {}, BACKGROUND_FIELDS);
    if (background.width != derived.width)
        entry["width"] = background.width;
    if (background.height != derived.height)
        entry["height"] = background.height;
}

StoredImage pack_settings_image(Fields& fields, const std::string& key, const PackContext& context)
{
    std::optional<std::string> path = fields.get_path(key);
    if (!path)
        return {};
    return StoredImage::from_bitmap(blend_over(load_frames(fields, key, *path, context).front()));
}

std::optional<std::string> unpack_settings_image(const StoredImage& image, const std::string& stem, UnpackContext& context)
{
    if (!image.bitmap)
        return std::nullopt;
    std::string path = context.claim_path("settings", stem, ".png");
    context.add_file(path, encode_png(*image.bitmap));
    return path;
}

}  // namespace quillon
