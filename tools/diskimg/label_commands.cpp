// protect and comment: the header fields an image carries about itself, edited in place.
#include "common.h"
#include "host_text.h"
#include "json.h"

namespace diskimg {

int RunProtect(Context& c) {
  std::unique_ptr<Image> image;
  const std::string& state = c.args[1];
  if (state != "on" && state != "off") return c.Usage("say on or off, not '" + state + "'");
  if (int code = OpenImageArg(c, c.args[0], &image)) return code;
  if (!image->HasWriteProtectFlag())
    return c.Fail(kExitUsage, image->Path(),
                  std::string(KindName(image->GetKind())) +
                      " images carry no write protection; mark the file read-only instead");
  image->SetWriteProtect(state == "on");
  if (int code = CommitImage(c, *image)) return code;
  c.Say(image->Path() + ": write protection " + (c.dryRun ? "would be " : "") + state);
  return kExitOk;
}

int RunComment(Context& c) {
  std::unique_ptr<Image> image;
  if (int code = OpenImageArg(c, c.args[0], &image)) return code;
  const std::uint32_t capacity = image->CommentCapacity();
  if (capacity == 0)
    return c.Fail(kExitUsage, image->Path(),
                  std::string(KindName(image->GetKind())) + " images carry no comment");
  if (c.args.size() == 1) {
    const std::string text = ShowDiskText(image->Comment());
    if (c.json) {
      Json(c.out)
          .BeginObject()
          .Field("image", image->Path())
          .Field("comment", text)
          .EndObject()
          .Line();
    } else {
      c.out << text << '\n';
    }
    return kExitOk;
  }
  const auto text = DiskTextOf(c.args[1]);
  if (!text) return c.Usage("the comment has characters a PC-98 image cannot store");
  if (text->size() > capacity)
    return c.Usage("a " + std::string(KindName(image->GetKind())) + " comment holds at most " +
                   std::to_string(capacity) + " bytes");
  image->SetComment(*text);
  return CommitImage(c, *image);
}

}  // namespace diskimg
