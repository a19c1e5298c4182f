#include "outline_images.h"

#include "text/ui/icons.h"

namespace verdan {

const QList<QIcon>& OutlineImages() {
    static const QList<QIcon> images = [] {
        QList<QIcon> list;
        for (const char16_t* name :
             {u"tree-root", u"person-group", u"star-gold", u"person-unknown", u"person-male",
              u"person-female", u"person-male-married", u"person-female-married", u"person-group-alt",
              u"star-red", u"person-dark", u"star-green",
              // 12 to 17: the further pictures a person's display options can give his node.
              u"star-gold", u"star-red", u"starred", u"view-pin", u"user-bookmarks", u"dialog-warning"})
            list << Icon(name);
        return list;
    }();
    return images;
}

} // namespace verdan
