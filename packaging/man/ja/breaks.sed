# groff 1.22 breaks lines only at blanks, and Japanese has none: on text lines (not requests),
# allow a break after every non-ASCII character (\: is a break point that prints nothing),
# except before the punctuation that must not begin a line. The NAME line stays as written, for
# whatis and apropos.
/^[.]SH 名前/{
  n
  b
}
/^[.]/!{
  s/([^ -~])/\1\\:/g
  s/\\:([、。）」』，．：])/\1/g
}
