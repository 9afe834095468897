"""Prints, for every element of the given local name in a JPK file, one line:
its attributes as "@name=value" and its leaf elements as "name=text", in
document order, joined by ";"."""
import sys

from lxml import etree


def main():
    tree = etree.parse(sys.argv[1])
    for element in tree.iter("{*}" + sys.argv[2]):
        parts = ["@%s=%s" % (name, value) for name, value in element.attrib.items()]
        for leaf in element.iter():
            if leaf is not element and len(leaf) == 0:
                parts.append("%s=%s" % (etree.QName(leaf).localname, leaf.text or ""))
        print(";".join(parts))


if __name__ == "__main__":
    main()
