# Sourced by the scripts root may run in a clone of another user's (sudo scripts/check): hand_back gives what
# root made in the clone to the clone's owner, who can then rebuild and remove it. Expects root (the clone).

# Files and folders in the clone (on its file system) that belong to root become the clone owner's. A file
# with more than one name stays as it is: a link the user made to a file of root's must not become theirs.
hand_back() {
    local owner
    owner=$(stat -c %u:%g "$root")
    [ "$(id -u)" -eq 0 ] && [ "${owner%%:*}" -ne 0 ] || return 0
    find "$root" -xdev -user 0 \( -type d -o -type l -o -links 1 \) -exec chown -h "$owner" -- {} + 2>/dev/null || true
}
