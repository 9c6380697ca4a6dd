# The scripted SMBus library comes in variants, each lacking at most one bus function; "absent"
# stands for no library at all. Shared by the Linux and the Windows tests of hwsense.
set(hwsense_variants full without_detect without_read without_write absent)
set(hwsense_scripted_define_without_detect SCRIPTED_WITHOUT_DETECT)
set(hwsense_scripted_define_without_read SCRIPTED_WITHOUT_READ)
set(hwsense_scripted_define_without_write SCRIPTED_WITHOUT_WRITE)
